#include "platform/dosfs/directory.h"

#include "platform/dosfs/errors.h"
#include "platform/dosfs/fault_seam.h"
#include "platform/dosfs/file_writer.h"
#include "platform/dosfs/locations.h"
#include "tests/support/temp_tree.h"

#include <QDir>
#include <QFile>

#include <gtest/gtest.h>

#include <algorithm>
#include <csignal>

#include <sys/wait.h>
#include <unistd.h>

using dosfs::Directory;
using dosfs::DirEntry;
using dosfs::FolderContents;

namespace {

const DirEntry* find(const std::vector<DirEntry>& entries, const char* name) {
    const auto it = std::find_if(entries.begin(), entries.end(),
                                 [&](const DirEntry& e) { return dosfs::hostNameOf(e) == name; });
    return it == entries.end() ? nullptr : &*it;
}

}  // namespace

TEST(Directory, ReadsFilesAndFoldersWithHiddenOnesAndLinksAsDecided) {
    TempTree tree;
    tree.file("plain.txt", 1234, 1704431229);
    tree.file(".hidden", 5);
    tree.folder("sub");
    tree.folder(".config");
    tree.link("to-file", "plain.txt");
    tree.link("to-folder", "sub");
    tree.link("dangling", "nowhere");
    tree.link("loop-a", "loop-b");
    tree.link("loop-b", "loop-a");
    tree.link("self", ".");

    Directory dir;
    ASSERT_EQ(Directory::open(tree.root(), dir), 0);
    FolderContents c;
    ASSERT_EQ(dir.read(c), 0);

    EXPECT_EQ(c.folders.size(), 2u);
    EXPECT_TRUE(find(c.folders, "sub"));
    ASSERT_TRUE(find(c.folders, ".config"));
    EXPECT_TRUE(find(c.folders, ".config")->hidden);
    EXPECT_FALSE(find(c.files, "to-folder"));
    EXPECT_FALSE(find(c.files, "self"));

    ASSERT_TRUE(find(c.files, "plain.txt"));
    EXPECT_EQ(find(c.files, "plain.txt")->size, 1234);
    EXPECT_EQ(find(c.files, "plain.txt")->mtime, 1704431229);
    EXPECT_TRUE(find(c.files, ".hidden")->hidden);
    ASSERT_TRUE(find(c.files, "to-file"));
    EXPECT_EQ(find(c.files, "to-file")->size, 1234);
    for (const char* blank : {"dangling", "loop-a", "loop-b"}) {
        ASSERT_TRUE(find(c.files, blank)) << blank;
        EXPECT_EQ(find(c.files, blank)->size, dosfs::kNoSize) << blank;
        EXPECT_EQ(find(c.files, blank)->mtime, dosfs::kNoTime) << blank;
    }
    EXPECT_EQ(c.files.size(), 6u);
}

TEST(Directory, OpensChildrenBelowHostPathLengthLimits) {
    TempTree tree;
    const QByteArray name(250, 'n');
    tree.deepFolders(name, 20, "bottom.txt");  // a host path far beyond 4096 bytes
    Directory dir;
    ASSERT_EQ(Directory::open(tree.root(), dir), 0);
    for (int i = 0; i < 20; ++i) {
        Directory child;
        ASSERT_EQ(dir.openChild(name, child), 0) << "level " << i;
        dir = std::move(child);
    }
    EXPECT_GT(dir.hostPath().size(), 5000);
    FolderContents c;
    ASSERT_EQ(dir.read(c), 0);
    ASSERT_EQ(c.files.size(), 1u);
    EXPECT_EQ(dosfs::hostNameOf(c.files[0]), QByteArray("bottom.txt"));
    EXPECT_EQ(c.files[0].size, 0);
}

TEST(Directory, DeniedAndVirtualFoldersReadAsTheyShould) {
    TempTree tree;
    tree.file("locked/secret.txt", 1);
    Directory root;
    ASSERT_EQ(Directory::open(tree.root(), root), 0);
    dosfs::faults::denyFolder(tree.path("locked"));
    Directory locked;
    EXPECT_EQ(root.openChild("locked", locked), dosfs::kPermissionDenied);
    EXPECT_EQ(Directory::open(tree.path("locked"), locked), dosfs::kPermissionDenied);
    dosfs::faults::clearAll();
    EXPECT_EQ(root.openChild("locked", locked), 0);

    // /proc holds no files on disk: it reads as an empty folder.
    Directory proc;
    if (Directory::open("/proc", proc) == 0) {
        FolderContents c;
        EXPECT_EQ(proc.read(c), 0);
        EXPECT_TRUE(c.files.empty());
        EXPECT_TRUE(c.folders.empty());
    }
}

// A file a running Tolan writes (its journal names it) is not listed, from
// whichever process; a name that only looks like one, or that a dead run's
// journal names, is.
TEST(Directory, LeavesOutTheFilesARunningTolanIsWriting) {
    TempTree tree;
    tree.folder("in");
    const QByteArray journals = dosfs::stateFolder();
    QDir().mkpath(QString::fromLocal8Bit(journals));
    const pid_t other = ::fork();
    if (other == 0) {
        ::pause();
        ::_exit(0);
    }
    const pid_t dead = ::fork();
    if (dead == 0) ::_exit(0);
    ::waitpid(dead, nullptr, 0);
    auto journal = [&](pid_t pid, const QByteArray& name) {
        QFile f(QString::fromLocal8Bit(journals + "/pending-" + QByteArray::number(pid)));
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(tree.path("in/" + name) + '\n');
    };
    tree.file("in/a.txt.tolan-otherrun");
    journal(other, "a.txt.tolan-otherrun");
    tree.file("in/b.txt.tolan-deadrun1");
    journal(dead, "b.txt.tolan-deadrun1");
    tree.file("in/c.txt.tolan-notnamed");
    tree.file("in/d.txt");
    // This process writes e.txt, named from the folder, as `-o e.txt` is.
    const QString here = QDir::currentPath();
    ASSERT_TRUE(QDir::setCurrent(QString::fromUtf8(tree.path("in"))));
    dosfs::FileWriter writer;
    ASSERT_EQ(writer.open("e.txt"), 0);
    QDir::setCurrent(here);

    Directory dir;
    ASSERT_EQ(Directory::open(tree.path("in"), dir), 0);
    FolderContents c;
    ASSERT_EQ(dir.read(c), 0);
    QStringList names;
    for (const DirEntry& e : c.files) names.append(e.name);
    names.sort();
    EXPECT_EQ(names,
              (QStringList{QStringLiteral("b.txt.tolan-deadrun1"),
                           QStringLiteral("c.txt.tolan-notnamed"), QStringLiteral("d.txt")}));
    ::kill(other, SIGKILL);
    ::waitpid(other, nullptr, 0);
    EXPECT_EQ(writer.finish(), 0);
}
