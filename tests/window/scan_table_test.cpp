// The scan's table as the window fills it: a record per folder and per file
// in the order the scan visits them, Side A's columns made from them.

#include "tests/support/program_fixture.h"

#include "engine/module1.h"
#include "platform/dosfs/fault_seam.h"
#include "tests/support/recording_host.h"

#include <gtest/gtest.h>

namespace {

// Each record as one text, to compare with what a scan of the tree must give.
QStringList folders(const engine::ScanTable& t) {
    QStringList out;
    for (int i = 0; i < t.folderCount(); ++i) {
        const engine::ScanTable::Folder& f = t.folder(i);
        out << QStringLiteral("%1 <%2> %3 %4 files %5 bytes%6")
                   .arg(t.folderPath(i), t.folderPath(int(f.parent)))
                   .arg(f.depth)
                   .arg(f.files)
                   .arg(f.bytes)
                   .arg(f.readable ? QString() : QStringLiteral(" unreadable"));
    }
    return out;
}
QStringList files(const engine::ScanTable& t) {
    QStringList out;
    for (int i = 0; i < t.fileCount(); ++i) {
        const engine::ScanTable::File& f = t.file(i);
        out << QStringLiteral("%1 | %2 %3 %4")
                   .arg(t.folderPath(t.folderOf(i)), t.fileName(i))
                   .arg(f.size)
                   .arg(f.mtime);
    }
    return out;
}

}  // namespace

// A whole scan and scans stopped part-way: the table holds what was listed,
// folders with their parents, depths, own files and bytes, an unreadable
// one marked; Side A shows exactly the rows the engine makes, and a stopped
// scan's table holds the files its work file lists.
TEST(ScanTable, HoldsWhatTheScanListedAndSideAIsMadeFromIt) {
    TempTree tree;
    tree.file("c/work/b.doc", 34567, 1000000000);
    tree.file("c/work/a.txt", 1200);
    tree.file("c/work/sub/日本語.txt", 10);
    tree.file("c/work/sub/deeper/z.txt", 5000);
    tree.folder("c/work/empty");
    tree.file("c/work/closed/hidden.txt", 7);
    ProgramFixture w(tree);
    w.open(QStringLiteral("C:\\work"));
    const engine::ScanTable& table = *w.form->state.found;
    const QStringList wholeFolders = {
        QStringLiteral("C:\\work <C:\\work> 0 2 files 35767 bytes"),
        QStringLiteral("C:\\work\\closed <C:\\work> 1 0 files 0 bytes unreadable"),
        QStringLiteral("C:\\work\\empty <C:\\work> 1 0 files 0 bytes"),
        QStringLiteral("C:\\work\\sub <C:\\work> 1 1 files 10 bytes"),
        QStringLiteral("C:\\work\\sub\\deeper <C:\\work\\sub> 2 1 files 5000 bytes"),
    };
    const QStringList wholeFiles = {
        QStringLiteral("C:\\work | a.txt 1200 1704431229"),
        QStringLiteral("C:\\work | b.doc 34567 1000000000"),
        QStringLiteral("C:\\work\\sub | 日本語.txt 10 1704431229"),
        QStringLiteral("C:\\work\\sub\\deeper | z.txt 5000 1704431229"),
    };
    for (const int stopAtRun : {4, 6, 0}) {  // 0: no stop; the whole scan last
        dosfs::faults::denyFolder(tree.path("c/work/closed"));
        int runs = 0;
        w.app.onRun = [&](int) {
            if (++runs == stopAtRun) w.form->Command5.raiseClick();
        };
        w.behaviour->Command3_Click();
        dosfs::faults::clearAll();
        EXPECT_EQ(table.whole(), stopAtRun == 0);
        EXPECT_EQ(folders(table), wholeFolders.mid(0, table.folderCount())) << stopAtRun;
        EXPECT_EQ(files(table), wholeFiles.mid(0, table.fileCount())) << stopAtRun;
        if (stopAtRun == 0) {
            EXPECT_EQ(table.folderCount(), wholeFolders.size());
            EXPECT_EQ(table.fileCount(), wholeFiles.size());
        }
        // The work file's file lines, one a record.
        int fileLines = 0;
        for (const QString& line : w.workFile())
            for (int i = 0; i < table.fileCount(); ++i)
                if (line.contains(table.pathText(i) + u' ')) ++fileLines;
        EXPECT_EQ(fileLines, table.fileCount()) << stopAtRun;
        EXPECT_EQ(w.list1(), w.workFile()) << stopAtRun;  // Side B's file lines are views
    }
    // Side A's columns are the engine's own rows, text for text.
    RecordingHost host;
    dosfs::NumberedFiles files(*w.fs);
    engine::Module1 engine(host, *w.fs, files);
    engine.settings.scanRoot = QStringLiteral("C:\\work");
    dosfs::faults::denyFolder(tree.path("c/work/closed"));
    engine.ScanTree();
    dosfs::faults::clearAll();
    const shell::Form1& f = *w.form;
    ASSERT_EQ(f.List2[0]->listCount(), int(host.sideA.size()));
    for (int i = 0; i < f.List2[0]->listCount(); ++i) {
        EXPECT_EQ(f.List2[0]->list(i), host.sideA[size_t(i)].path);
        EXPECT_EQ(f.List2[1]->list(i), host.sideA[size_t(i)].size);
        EXPECT_EQ(f.List2[2]->list(i), host.sideA[size_t(i)].date);
    }
}

// The space a file takes on disk, beside its length: most in two bits (its
// length rounded up to 4 KiB, nothing, or its length when not known), the
// others' blocks kept apart; a table of files of every kind, in one folder.
TEST(ScanTable, KeepsTheSpaceEachFileTakesOnDisk) {
    struct Row {
        const char* name;
        qint64 size, blocks, disk;
    };
    const Row rows[] = {
        {"rounded up", 5000, 16, 8192},
        {"sparse", 7'700'000'000, 8, 4096},
        {"empty", 0, 0, 0},
        {"a hole", 100'000, 0, 0},
        {"blocks unknown", 300, dosfs::kNoSize, 300},
        {"unreadable", dosfs::kNoSize, dosfs::kNoSize, 0},
        {"beyond 32 bits of blocks", 3'000'000'000'000, 5'859'375'000, 3'000'000'000'000},
        {"in 512-byte steps", 1000, 2, 1024},
        {"rounded up again", 1, 8, 4096},
    };
    engine::ScanTable table;
    table.start(QStringLiteral("C:\\"));
    table.enterFolder(QStringLiteral("C:\\"));
    for (const Row& r : rows) {
        dosfs::DirEntry e;
        e.name = QString::fromUtf8(r.name);
        e.size = r.size;
        e.blocks = r.blocks;
        table.addFile(e);
    }
    table.finish(true);
    for (int i = 0; i < table.fileCount(); ++i)
        EXPECT_EQ(table.diskBytes(i), rows[i].disk) << rows[i].name;
}
