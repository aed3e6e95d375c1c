#include "platform/dosfs/directory.h"

#include "platform/dosfs/errors.h"
#include "platform/dosfs/fault_seam.h"
#include "tests/support/temp_tree.h"

#include <gtest/gtest.h>

#include <algorithm>

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
