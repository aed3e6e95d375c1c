#include "platform/dosfs/file_system.h"

#include "platform/dosfs/errors.h"
#include "tests/support/temp_tree.h"

#include <gtest/gtest.h>

using dosfs::DriveTable;
using dosfs::FileSystem;

TEST(DriveTable, ParsesGoodLinesAndNamesTheRest) {
    DriveTable t = DriveTable::defaults();
    std::vector<DriveTable::BadLine> bad;
    EXPECT_TRUE(
        t.parse("# my drives\n"
                "d:=/data/disk #2\n"
                "garbage line\n"
                "E:=relative/path\n"
                "1:=/numbers\n"
                "D:=/second/for/d\n"
                "\n"
                "  Q:=/srv/q/../quiet/  \r\n"
                "   # indented comment\n",
                &bad));
    EXPECT_EQ(t.letters(), (QList<QChar>{u'D', u'Q'}));
    EXPECT_EQ(t.hostFolder(u'd'), QByteArray("/data/disk #2"));
    EXPECT_EQ(t.hostFolder(u'Q'), QByteArray("/srv/quiet"));
    EXPECT_EQ(t.chooserEntries(),
              (QStringList{QStringLiteral("d: [disk #2]"), QStringLiteral("q: [quiet]")}));
    ASSERT_EQ(bad.size(), 4u);
    const int numbers[] = {3, 4, 5, 6};
    for (size_t i = 0; i < bad.size(); ++i) {
        EXPECT_EQ(bad[i].number, numbers[i]);
        EXPECT_EQ(bad[i].repeated, i == 3);
    }
    EXPECT_EQ(bad[0].text, "garbage line");

    DriveTable kept = DriveTable::defaults();
    EXPECT_FALSE(kept.parse("nothing usable\n"));
    EXPECT_EQ(kept.letters(), (QList<QChar>{u'C', u'Z'}));
    EXPECT_EQ(kept.chooserEntry(u'Z'), QStringLiteral("z:"));
}

class FileSystemTest : public ::testing::Test {
  protected:
    void SetUp() override {
        tree.file("Docs/Report.TXT", 10);
        tree.file("Docs/日本/メモ.txt", 1);
        DriveTable drives;
        drives.set(u'C', tree.root());
        drives.set(u'M', tree.path("missing"));
        fs.setDrives(drives);
    }
    TempTree tree;
    FileSystem fs;
};

TEST_F(FileSystemTest, ResolvesNamesExactlyThenRegardlessOfCase) {
    dosfs::Resolved r = fs.resolve(QStringLiteral("c:\\docs\\report.txt"));
    ASSERT_EQ(r.error, 0);
    EXPECT_EQ(r.dos, QStringLiteral("C:\\Docs\\Report.TXT"));
    EXPECT_EQ(r.host, tree.path("Docs/Report.TXT"));
    EXPECT_FALSE(r.isFolder);

    r = fs.resolve(QStringLiteral("C:\\Docs\\日本\\.\\..\\日本"));
    ASSERT_EQ(r.error, 0);
    EXPECT_EQ(r.dos, QStringLiteral("C:\\Docs\\日本"));
    EXPECT_TRUE(r.isFolder);

    EXPECT_EQ(fs.resolve(QStringLiteral("C:\\")).dos, QStringLiteral("C:\\"));
    EXPECT_EQ(fs.resolve(QStringLiteral("c: [root]")).dos, QStringLiteral("C:\\"));
}

TEST_F(FileSystemTest, ReportsTheErrorNumbersCallersTellApart) {
    EXPECT_EQ(fs.resolve(QStringLiteral("M:\\")).error, dosfs::kDeviceUnavailable);
    EXPECT_EQ(fs.resolve(QStringLiteral("Q:\\")).error, dosfs::kDeviceUnavailable);
    EXPECT_EQ(fs.resolve(QStringLiteral("C:\\Nope\\x.txt")).error, dosfs::kPathNotFound);
    EXPECT_EQ(fs.resolve(QStringLiteral("C:\\Docs\\x.txt")).error, dosfs::kFileNotFound);
    EXPECT_EQ(fs.resolve(QStringLiteral("C:\\Docs\\Report.TXT\\x")).error, dosfs::kPathNotFound);
    EXPECT_EQ(fs.changeDrive(QStringLiteral("M:")), dosfs::kDeviceUnavailable);
    EXPECT_EQ(fs.changeFolder(QStringLiteral("C:\\Docs\\Report.TXT")), dosfs::kPathNotFound);
}

TEST_F(FileSystemTest, KeepsACurrentFolderPerDrive) {
    EXPECT_EQ(fs.currentFolder(u'C'), QStringLiteral("C:\\"));
    ASSERT_EQ(fs.changeDrive(QStringLiteral("C:")), 0);
    ASSERT_EQ(fs.changeFolder(QStringLiteral("c:\\DOCS")), 0);
    EXPECT_EQ(fs.currentFolder(u'c'), QStringLiteral("C:\\Docs"));
    EXPECT_EQ(fs.resolve(QStringLiteral("C:")).dos, QStringLiteral("C:\\Docs"));
    EXPECT_EQ(fs.resolve(QStringLiteral("日本\\メモ.txt")).dos,
              QStringLiteral("C:\\Docs\\日本\\メモ.txt"));
    EXPECT_EQ(fs.resolve(QStringLiteral("..")).dos, QStringLiteral("C:\\"));
}

TEST_F(FileSystemTest, MapsHostPathsOntoTheClosestDrive) {
    DriveTable drives;
    drives.set(u'Z', "/");
    drives.set(u'C', tree.root());
    drives.set(u'D', tree.path("Docs"));
    fs.setDrives(drives);
    EXPECT_EQ(fs.fromHostPath(tree.path("Docs/日本")).dos, QStringLiteral("D:\\日本"));
    EXPECT_EQ(fs.fromHostPath(tree.root()).dos, QStringLiteral("C:\\"));
    EXPECT_EQ(fs.fromHostPath("/").dos, QStringLiteral("Z:\\"));
    EXPECT_NE(fs.fromHostPath(tree.path("gone")).error, 0);
}
