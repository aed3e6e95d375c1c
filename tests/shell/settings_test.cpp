#include "shell/settings.h"

#include "platform/dosfs/fault_seam.h"
#include "tests/support/program_fixture.h"
#include "tests/support/test_application.h"

#include <QFile>

#include <QDir>
#include <QFileInfo>

#include <gtest/gtest.h>

#include <cstdlib>

using shell::Settings;

namespace {

class SettingsTest : public ::testing::Test {
  protected:
    void SetUp() override { path = tree.path("config/tolan/settings"); }
    void TearDown() override { dosfs::faults::clearAll(); }
    void write(const QByteArray& bytes) {
        tree.folder("config/tolan");
        QFile f(QString::fromUtf8(path));
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(bytes);
    }
    QByteArray read() {
        QFile f(QString::fromUtf8(path));
        return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray("<none>");
    }
    Settings loaded(const QByteArray& record) {
        write(record);
        Settings s;
        shell::LoadSettings(s, QStringLiteral("C:"));
        return s;
    }
    TempTree tree;
    SettingsFolders folders{tree};
    QByteArray path;
    TestApplication app;
};

// A window whose size changes nothing else, to see what ApplySettings sets.
struct Window : forms::Form {
    explicit Window(forms::Application& app) : Form(app, QStringLiteral("w")) {}
};

}  // namespace

TEST_F(SettingsTest, TheFirstRunWritesTheDefaultRecord) {
    Settings s;
    shell::LoadSettings(s, QStringLiteral("C:"));
    EXPECT_EQ(read(), QByteArray("00000,00000,09045,12045,C:,01065,02985,04140,02055,0\r\n\r\n"));
    EXPECT_EQ(s.outputDir, QStringLiteral("C:\\"));
    EXPECT_EQ(s.windowHeight, QStringLiteral("09045"));
    EXPECT_EQ(s.csvOutput, 0);
}

TEST_F(SettingsTest, RecordsOfNineAndTenFieldsLoadAndOthersGiveDefaults) {
    Settings ten = loaded(" 150, -60,9645,13545,D:\\out, 4140,2985,4140,2055,1\r\n\r\n");
    EXPECT_EQ(ten.windowTop, QStringLiteral("150"));
    EXPECT_EQ(ten.windowLeft, QStringLiteral("-60"));
    EXPECT_EQ(ten.outputDir, QStringLiteral("D:\\out"));
    EXPECT_EQ(ten.saveDialogTop, QStringLiteral("4140"));
    EXPECT_EQ(ten.csvOutput, 1);

    Settings nine = loaded("1,2,9000,13000,E:\\x,3,4,5,6\r\n");
    EXPECT_EQ(nine.windowWidth, QStringLiteral("13000"));
    EXPECT_EQ(nine.settingsDialogLeft, QStringLiteral("6"));
    EXPECT_EQ(nine.csvOutput, 0);

    for (const QByteArray& bad :
         {QByteArray("1,2,3,4,5,6,7,8\r\n"), QByteArray("1,2,3,4,5,6,7,8,9,10,11\r\n"),
          QByteArray(""), QByteArray("\x82\x00,\xFF\xFF,1,2,3,4,5,6,7,8", 20),
          QByteArray("\x81,1,2,3,4,5,6,7,8,9"),  // not code page 932
          QByteArray(70000, ',')}) {
        Settings s = loaded(bad);
        EXPECT_EQ(s.windowTop, QStringLiteral("00000"));
        EXPECT_EQ(s.windowWidth, QStringLiteral("12045"));
        EXPECT_EQ(s.settingsDialogTop, QStringLiteral("04140"));
        EXPECT_EQ(s.outputDir, QStringLiteral("C:"));
        // Set aside, where the next save does not reach it.
        EXPECT_EQ(read(), "<none>");
        QFile aside(QString::fromUtf8(path + ".bad"));
        ASSERT_TRUE(aside.open(QIODevice::ReadOnly));
        EXPECT_EQ(aside.readAll(), bad);
        aside.remove();
    }

    // Japanese names survive in code page 932.
    Settings jp = loaded("0,0,9045,12045,C:\\\x93\xFA\x96\x7B,1,2,3,4,0\r\n");
    EXPECT_EQ(jp.outputDir, QStringLiteral("C:\\日本"));
}

TEST_F(SettingsTest, TheLeadingNumberRule) {
    struct Case {
        const char* text;
        double value;
    };
    const Case cases[] = {{"00000", 0}, {"1500", 1500}, {"-60", -60}, {" 4140", 4140},
                          {"+7", 7},    {"12abc", 12},  {"abc", 0},   {"", 0},
                          {"-", 0},     {"1.6", 1.6},   {" - 5", 0},  {"1e5", 1}};
    for (const Case& c : cases)
        EXPECT_DOUBLE_EQ(shell::leadingNumber(QString::fromLatin1(c.text)), c.value) << c.text;
    EXPECT_GT(shell::leadingNumber(QString(40, u'9')), 1e39);
    EXPECT_EQ(loaded("0,0,9045,12045,C:,1,2,3,4, 1.5").csvOutput, 2);  // halves to even
    EXPECT_EQ(loaded("0,0,9045,12045,C:,1,2,3,4,2.5").csvOutput, 2);
}

TEST_F(SettingsTest, ApplyKeepsTheBoundsExactlyAsWritten) {
    struct Case {
        const char* top;
        const char* left;
        const char* height;
        const char* width;
        int wantTop, wantLeft, wantHeight, wantWidth;
    };
    const Case cases[] = {
        {"6999", "9999", "7501", "8501", 6999, 9999, 7501, 8501},
        {"7000", "10000", "7500", "8500", 0, 0, 9045, 12045},
        {"-60", "-60", "abc", "0", -60, -60, 9045, 12045},
        {"x", " 12", "99999999999999999999999999999999999999999", "13000", 0, 12, 9045, 13000},
    };
    for (const Case& c : cases) {
        Settings s;
        s.windowTop = QString::fromLatin1(c.top);
        s.windowLeft = QString::fromLatin1(c.left);
        s.windowHeight = QString::fromLatin1(c.height);
        s.windowWidth = QString::fromLatin1(c.width);
        s.saveDialogTop = QStringLiteral("7000");
        s.saveDialogLeft = QStringLiteral("9999");
        s.settingsDialogTop = QStringLiteral("6999");
        s.settingsDialogLeft = QStringLiteral("10000");
        Window w(app);
        shell::ApplySettings(s, w);
        EXPECT_EQ(w.top(), c.wantTop) << c.top;
        EXPECT_EQ(w.left(), c.wantLeft) << c.left;
        EXPECT_EQ(w.height(), c.wantHeight) << c.height;
        EXPECT_EQ(w.width(), c.wantWidth) << c.width;
        EXPECT_EQ(s.saveDialogTop, QStringLiteral("01065"));
        EXPECT_EQ(s.saveDialogLeft, QStringLiteral("9999"));
        EXPECT_EQ(s.settingsDialogTop, QStringLiteral("6999"));
        EXPECT_EQ(s.settingsDialogLeft, QStringLiteral("02055"));
    }
}

TEST_F(SettingsTest, SavingReplacesTheRecordWholeOrNotAtAll) {
    Settings s = loaded("0,0,9045,12045,C:\\out,01065,02985, 4140,02055,0\r\n");
    Window w(app);
    w.setTop(-60);
    w.setLeft(1500);
    w.setHeight(9645);
    w.setWidth(13545);
    s.csvOutput = 1;
    ASSERT_EQ(shell::SaveSettings(s, w), 0);
    const QByteArray saved = "-60,1500,9645,13545,C:\\out,01065,02985,4140,02055,1\r\n\r\n";
    EXPECT_EQ(read(), saved);

    // A full disk during the save leaves the previous record whole.
    dosfs::faults::fillDiskAfter(tree.path("config/tolan"), 10);
    w.setTop(300);
    EXPECT_NE(shell::SaveSettings(s, w), 0);
    EXPECT_EQ(read(), saved);
    // Nothing is left beside the record.
    EXPECT_TRUE(QFileInfo(QString::fromUtf8(path))
                    .dir()
                    .entryList({QStringLiteral("*.tolan-*")}, QDir::Files | QDir::Hidden)
                    .isEmpty());

    // A folder that cannot be written: an error, the program goes on.
    dosfs::faults::clearAll();
    dosfs::faults::denyFolder(tree.path("config/tolan"));
    EXPECT_NE(shell::SaveSettings(s, w), 0);
    EXPECT_EQ(read(), saved);
}

TEST_F(SettingsTest, AMissingFileThatCannotBeCreatedStillGivesDefaults) {
    dosfs::faults::denyFolder(tree.path("config/tolan"));
    Settings s;
    shell::LoadSettings(s, QStringLiteral("C:"));
    EXPECT_EQ(s.windowWidth, QStringLiteral("12045"));
    EXPECT_EQ(s.outputDir, QStringLiteral("C:\\"));
    EXPECT_EQ(read(), QByteArray("<none>"));
}
