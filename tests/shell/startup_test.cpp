#include "shell/form1.h"

#include "platform/dosfs/errors.h"
#include "platform/dosfs/locations.h"
#include "shell/messages.h"
#include "tests/support/program_fixture.h"

#include <QFile>
#include <QFileInfo>

#include <gtest/gtest.h>

#include <cstdlib>
#include <memory>
#include <vector>

#include <sys/stat.h>

namespace {

class StartupTest : public ::testing::Test {
  protected:
    void SetUp() override {
        tree.folder("c");
        drives.set(u'C', tree.path("c"));
        drives.set(u'D', tree.root());
    }
    void TearDown() override {
        while (!programs.empty()) programs.pop_back();
    }
    // A start of the program; the earlier ones stay as they are.
    shell::Form1* start() {
        programs.push_back(std::make_unique<ProgramFixture>(tree, drives));
        fs = programs.back()->fs;
        return programs.back()->form;
    }
    QByteArray settingsFile() {
        QFile f(QString::fromUtf8(tree.path("config/tolan/settings")));
        return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
    }
    TempTree tree;
    SettingsFolders folders{tree};
    dosfs::DriveTable drives;
    std::vector<std::unique_ptr<ProgramFixture>> programs;
    dosfs::FileSystem* fs = nullptr;
};

}  // namespace

TEST_F(StartupTest, TheFirstRunOpensTheDesignWindowIdleWithItsBoxesFilled) {
    auto form = start();
    EXPECT_TRUE(form->visible());
    EXPECT_EQ(form->top(), 0);
    EXPECT_EQ(form->left(), 0);
    EXPECT_EQ(form->height(), 9045);
    EXPECT_EQ(form->width(), 12045);
    EXPECT_EQ(settingsFile(),
              QByteArray("00000,00000,09045,12045,C:,01065,02985,04140,02055,0\r\n\r\n"));
    EXPECT_EQ(form->state.settings.outputDir, QStringLiteral("C:\\"));
    EXPECT_EQ(form->state.run, shell::RunState::Idle);
    EXPECT_TRUE(form->state.hintsOff);
    EXPECT_TRUE(form->state.startupDone);
    EXPECT_EQ(form->state.startDrive, QStringLiteral("C:"));
    EXPECT_EQ(form->state.scanRoot, QStringLiteral("C:"));
    EXPECT_EQ(form->state.listType, engine::ListType::FullPaths);
    EXPECT_EQ(form->state.extFilter, QStringLiteral("*"));
    EXPECT_EQ(form->Combo1.text(), QStringLiteral("*"));
    EXPECT_EQ(form->Combo2.text(), QStringLiteral("ﾃﾞｨﾚｸﾄﾘ＋ﾌｧｲﾙ"));
    EXPECT_EQ(
        form->Combo1.items(),
        QStringLiteral(
            "*,LZH,ZIP,XLS,DOC,TXT,DAT,EXE,HLP,INI,DLL,TIF,BMP,MOV,AVI,JPG,GIF,WAV,TLB,MP3,User")
            .split(u','));
    EXPECT_EQ(form->Combo2.items(),
              (QStringList{QStringLiteral("ﾃﾞｨﾚｸﾄﾘ＋ﾌｧｲﾙ"), QStringLiteral("ﾌｧｲﾙ")}));
    EXPECT_EQ(form->Text1.text(), QStringLiteral("C:\\"));
    EXPECT_TRUE(form->Text2.visible());
    EXPECT_EQ(form->Text2.text(), form->Dir1.path().toLower());
    EXPECT_EQ(form->mousePointer(), forms::MousePointer::Arrow);
    EXPECT_EQ(fs->currentFolder(u'C'), QStringLiteral("C:\\"));
}

TEST_F(StartupTest, TheWorkFileIsAlwaysInTheStateFolder) {
    // Through a drive of the program's own, though D: holds it too: the
    // chooser does not offer that drive. A WINDOWS or WINNT folder on C: is
    // the user's own, and others may write there: it changes nothing.
    tree.folder("c/WINNT");
    tree.folder("c/WINDOWS");
    EXPECT_EQ(start()->state.workFilePath, QStringLiteral("Z:\\DIR.TXT"));
    EXPECT_EQ(fs->resolveForCreate(QStringLiteral("Z:\\DIR.TXT")).host,
              tree.path("state/tolan/DIR.TXT"));
    EXPECT_EQ(fs->drives().letters(), (QList<QChar>{u'C', u'D'}));
}

TEST_F(StartupTest, WithoutADriveCTheStartDriveIsAOrTheFirstDrive) {
    drives.clear();
    drives.set(u'A', tree.path("c"));
    drives.set(u'D', tree.root());
    EXPECT_EQ(start()->state.startDrive, QStringLiteral("A:"));
    drives.clear();
    drives.set(u'D', tree.root());
    drives.set(u'E', tree.root());
    tree.remove("config/tolan/settings");  // a first run again
    auto form = start();
    EXPECT_EQ(form->state.startDrive, QStringLiteral("D:"));
    EXPECT_EQ(form->state.settings.outputDir, QStringLiteral("D:\\"));
}

TEST_F(StartupTest, GeometryAndOutputFormatComeBackOnTheNextStart) {
    {
        auto first = start();
        first->setTop(300);
        first->setLeft(-60);
        first->setHeight(9645);
        first->setWidth(13545);
        first->state.settings.csvOutput = 1;
        ASSERT_EQ(first->files.open(3, first->state.workFilePath, dosfs::OpenMode::Replace), 0);
        first->close();  // the close box
        EXPECT_FALSE(first->files.isOpen(3));
        EXPECT_EQ(programs.back()->app.ends, 1);
    }
    EXPECT_EQ(settingsFile(),
              QByteArray("300,-60,9645,13545,C:\\,01065,02985,04140,02055,1\r\n\r\n"));
    auto second = start();
    EXPECT_EQ(second->top(), 300);
    EXPECT_EQ(second->left(), -60);
    EXPECT_EQ(second->height(), 9645);
    EXPECT_EQ(second->width(), 13545);
    EXPECT_EQ(second->state.settings.csvOutput, 1);
    // The stored size was laid out before the window was shown.
    EXPECT_EQ(second->Dir1.left(), 9330 + 1500);
    EXPECT_EQ(second->Command5.top(), 7920 + 600);
}

TEST_F(StartupTest, AStoredHeightBelowTheMinimumIsRaisedByTheLayout) {
    tree.file("config/tolan/settings");
    QFile f(QString::fromUtf8(tree.path("config/tolan/settings")));
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write("6999,0,7501,12045,C:,01065,02985,04140,02055,0\r\n");
    f.close();
    auto form = start();
    EXPECT_EQ(form->top(), 6999);
    EXPECT_EQ(form->height(), 7800);
}

// The drives file is read whole; a line that starts with '#' is a comment;
// each line that names no drive is named in the message box at start-up,
// and a pipe is not waited on. A missing folder fails as no disk.
TEST_F(StartupTest, TheDrivesFileIsReadWholeAndItsBadLinesAreNamed) {
    tree.folder("disk");
    tree.folder("disk#1");
    const QByteArray disk = tree.path("disk");
    const QByteArray path = tree.path("config/tolan/drives");
    const struct Row {
        const char* what;
        QByteArray text;  // a pipe when empty
        QList<QChar> letters;
        QByteArray d;  // D:'s folder
        QString notice;
    } rows[] = {
        {"bad lines",
         "# drives\nrubbish\nE:=relative\nD:=" + disk + "\nD:=/again\nQ:=" + tree.path("gone") +
             "\n",
         {u'D', u'Q'},
         disk,
         QStringLiteral("drives の 2, 3, 5 行目は使えません")},
        {"'#' inside a folder's name",
         "  # mine\r\nD:=" + tree.path("disk#1") + "\r\n",
         {u'D'},
         tree.path("disk#1"),
         QString()},
        {"2 MiB long",
         QByteArray(2 << 20, '#').replace(4096, 1, "\n") + "\nD:=" + disk,
         {u'D'},
         disk,
         QString()},
        {"a pipe",
         QByteArray(),
         {u'C', u'Z'},
         QByteArray(),
         QStringLiteral("drives はファイルでないため既定のドライブを使用")},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.what);
        tree.remove("config/tolan/drives");
        if (row.text.isEmpty()) {
            ASSERT_EQ(::mkfifo(path.constData(), 0600), 0);
        } else {
            tree.file("config/tolan/drives");
            QFile f(QString::fromUtf8(path));
            ASSERT_TRUE(f.open(QIODevice::WriteOnly));
            f.write(row.text);
        }
        const dosfs::DriveFile file = dosfs::readDriveFile();
        EXPECT_EQ(file.table.letters(), row.letters);
        EXPECT_EQ(file.table.hostFolder(u'D'), row.d);
        // As the program starts.
        programs.push_back(std::make_unique<ProgramFixture>(tree, file.table, false));
        programs.back()->form->state.startNotices.append(shell::driveFileNotice(file));
        programs.back()->parts.load();
        shell::Form1* form = programs.back()->form;
        EXPECT_EQ(form->Text10.visible(), !row.notice.isEmpty());
        EXPECT_EQ(form->Text10.visible() ? form->Text10.text() : QString(), row.notice);
    }
    // Q: of the first row has no folder: no disk.
    tree.remove("config/tolan/drives");
    tree.file("config/tolan/drives");
    QFile f(QString::fromUtf8(path));
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write(rows[0].text);
    f.close();
    drives = dosfs::loadDriveTable();
    auto form = start();
    EXPECT_EQ(form->state.startDrive, QStringLiteral("D:"));
    EXPECT_EQ(form->Drive1.setDrive(QStringLiteral("q:")), 0);
    EXPECT_EQ(form->Dir1.setPath(QStringLiteral("Q:")), dosfs::kDeviceUnavailable);
}

// A settings file that cannot be read is set aside as settings.bad, said
// at start-up, and never written over: the program starts with defaults.
TEST_F(StartupTest, ASettingsFileThatCannotBeReadIsSetAsideAndSaid) {
    const QByteArray path = tree.path("config/tolan/settings");
    static const char kBinary[] = "\x00\x01\xff\xfe settings\x00";
    const QByteArray binary(kBinary, sizeof kBinary);
    const struct Row {
        const char* what;
        QByteArray text;  // a pipe when empty
    } rows[] = {
        {"garbage", "these are not the settings\r\n"},
        {"binary", binary},
        {"50 MB", QByteArray(50 << 20, '0')},
        {"a pipe", QByteArray()},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.what);
        tree.remove("config/tolan/settings");
        tree.remove("config/tolan/settings.bad");
        tree.folder("config/tolan");
        if (row.text.isEmpty()) {
            ASSERT_EQ(::mkfifo(path.constData(), 0600), 0);
        } else {
            QFile f(QString::fromUtf8(path));
            ASSERT_TRUE(f.open(QIODevice::WriteOnly));
            f.write(row.text);
        }
        auto* form = start();
        EXPECT_EQ(form->Text10.text(),
                  QStringLiteral("読めない設定ファイルを settings.bad に移しました"));
        EXPECT_TRUE(form->Text10.visible());
        EXPECT_EQ(form->height(), 9045);
        form->close();
        EXPECT_TRUE(settingsFile().startsWith("0,0,9045,12045,C:,"));
        QFileInfo aside(QString::fromUtf8(path + ".bad"));
        if (row.text.isEmpty()) {
            EXPECT_FALSE(aside.isFile());
            EXPECT_TRUE(aside.exists());
        } else {
            QFile f(aside.filePath());
            ASSERT_TRUE(f.open(QIODevice::ReadOnly));
            EXPECT_EQ(f.readAll(), row.text);
        }
    }
}

TEST_F(StartupTest, TheWorkFileIsNeverInsideADriveTheUserScans) {
    // Only C:, and the state folder outside it: no scan of C: lists the work
    // file, and the folder tree shows nothing of it.
    drives.clear();
    drives.set(u'C', tree.path("c"));
    tree.file("c/a.txt", 10);
    auto* form = start();
    form->Dir1.setPath(QStringLiteral("C:\\"));
    form->Command3.raiseClick();
    EXPECT_FALSE(form->Text10.visible()) << form->Text10.text().toStdString();
    EXPECT_EQ(form->List2[0]->listCount(), 1);
    EXPECT_EQ(form->Dir1.listCount(), 0);
    EXPECT_TRUE(QFile::exists(QString::fromUtf8(tree.path("state/tolan/DIR.TXT"))));
    EXPECT_FALSE(QFile::exists(QString::fromUtf8(tree.path("c/.tolan"))));

    // Every letter taken: a scan says there is no place for it.
    for (char16_t letter = u'A'; letter <= u'Z'; ++letter)
        drives.set(QChar(letter), tree.path("c"));
    form = start();
    EXPECT_EQ(form->state.workFilePath, QString());
    form->Command3.raiseClick();
    EXPECT_EQ(form->Text10.text(), QStringLiteral("作業ファイルの置き場なし"));
}
