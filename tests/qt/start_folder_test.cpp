// tolan FOLDER: Side A opens the folder a file manager passes, through the
// drive table.

#include "app/program.h"
#include "tests/support/program_fixture.h"

#include <gtest/gtest.h>

#include <cstdlib>

namespace {

class StartFolderTest : public ::testing::Test {
  protected:
    void start(bool hostRootMapped) {
        dosfs::DriveTable drives;
        drives.set(u'C', tree.path("c"));
        drives.set(u'D', tree.path("state"));
        if (hostRootMapped) drives.set(u'Z', "/");
        program = std::make_unique<app::Program>(drives);
        program->load();
    }
    TempTree tree;
    SettingsFolders folders{tree};
    std::unique_ptr<app::Program> program;
};

}  // namespace

TEST_F(StartFolderTest, SideAOpensTheFolderAndTheFirstScanListsIt) {
    tree.file("c/日本 語/한국어 폴더/a.txt", 10);
    tree.file("elsewhere/b.txt", 20);
    start(true);
    shell::Form1& f = program->form;
    ASSERT_TRUE(app::openStartFolder(f, tree.path("c/日本 語/한국어 폴더")));
    EXPECT_EQ(f.Dir1.path(), QStringLiteral("C:\\日本 語\\한국어 폴더"));
    EXPECT_EQ(f.File1.path(), f.Dir1.path());
    EXPECT_EQ(f.Text2.text(), f.Dir1.path());
    f.Command3.raiseClick();
    EXPECT_EQ(f.List2[0]->list(0), QStringLiteral("C:\\日本 語\\한국어 폴더\\a.txt"));

    // Outside every drive but the host root: through Z:.
    ASSERT_TRUE(app::openStartFolder(f, tree.path("elsewhere")));
    EXPECT_TRUE(f.Dir1.path().startsWith(QStringLiteral("Z:\\")));
    EXPECT_EQ(f.Drive1.drive(), QStringLiteral("z:"));
}

TEST_F(StartFolderTest, AFolderThatCannotBeOpenedLeavesSideAAsItWas) {
    tree.file("c/file.txt");
    tree.folder("elsewhere");
    start(false);
    shell::Form1& f = program->form;
    const QString before = f.Dir1.path();
    for (const QByteArray& path :
         {tree.path("c/missing"), tree.path("c/file.txt"), tree.path("elsewhere")}) {
        f.Text10.setVisible(false);
        EXPECT_FALSE(app::openStartFolder(f, path)) << path.constData();
        EXPECT_EQ(f.Dir1.path(), before);
        EXPECT_TRUE(f.Text10.visible());
        EXPECT_EQ(f.Text10.text(), QStringLiteral("ディレクトリ存在せず"));
        EXPECT_TRUE(f.Timer4.timerEnabled());
    }
}
