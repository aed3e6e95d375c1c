// What the window meets on a user's machine: settings files that are huge,
// a folder or unreadable, and a drive whose folder goes away while the
// program runs. Each leaves the program running with its fallback.

#include "tests/support/program_fixture.h"

#include <QFile>

#include "platform/dosfs/fault_seam.h"

#include <gtest/gtest.h>

namespace {

void writeSettings(TempTree& tree, const QByteArray& bytes) {
    tree.folder("config/tolan");
    QFile f(QString::fromUtf8(tree.path("config/tolan/settings")));
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write(bytes);
}

}  // namespace

TEST(HostileInput, SettingsFilesThatCannotBeUsedGiveTheDefaults) {
    const QByteArray record = "100,200,8000,13000,C:\\mine,1,2,3,4,1\r\n";
    const struct {
        const char* what;
        std::function<void(TempTree&)> make;
        bool loaded;
    } cases[] = {
        {"a record followed by 10 MB",
         [&](TempTree& t) { writeSettings(t, record + QByteArray(10 << 20, 'x')); }, true},
        {"one line of 10 MB", [&](TempTree& t) { writeSettings(t, QByteArray(10 << 20, ',')); },
         false},
        {"a folder", [](TempTree& t) { t.folder("config/tolan/settings"); }, false},
        {"unreadable",
         [&](TempTree& t) {
             writeSettings(t, record);
             dosfs::faults::failOperation(dosfs::faults::Op::Open, EACCES,
                                          t.path("config/tolan/settings"));
         },
         false},
    };
    for (const auto& c : cases) {
        TempTree tree;
        c.make(tree);
        ProgramFixture w(tree);
        dosfs::faults::clearAll();
        const shell::Settings& s = w.form->state.settings;
        EXPECT_EQ(s.outputDir, c.loaded ? QStringLiteral("C:\\mine") : QStringLiteral("C:"))
            << c.what;
        EXPECT_EQ(w.form->width(), c.loaded ? 13000 : 12045) << c.what;
        // The program still ends, and saves where it can.
        w.form->close();
        EXPECT_EQ(w.app.ends, 1) << c.what;
    }
}

TEST(HostileInput, ADriveWhoseFolderGoesAwayIsADiskThatIsNotThere) {
    TempTree tree;
    tree.file("c/work/a.txt", 10);
    ProgramFixture w(tree);
    shell::Form1& f = *w.form;
    tree.remove("c");  // a scan of a removed folder: see ScanCommandsTest
    f.Drive1.setDrive(QStringLiteral("d:"));
    f.Drive1.setDrive(QStringLiteral("c:"));  // C: is the folder that went away
    EXPECT_TRUE(f.Text12.visible());
    EXPECT_EQ(f.Text12.text(), QStringLiteral("ディスクなし"));
    EXPECT_EQ(w.app.ends, 0);
}
