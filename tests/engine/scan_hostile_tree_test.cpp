// Trees that fight back: unreadable and vanishing folders, names the code
// page cannot hold, huge folders, very long paths, link loops.

#include "tests/engine/scan_fixture.h"

#include "tests/support/in_child.h"

#include "platform/codepage/cp932.h"
#include "platform/dosfs/away_reads.h"
#include "platform/dosfs/fault_seam.h"
#include "platform/dosfs/host_name.h"

#include <QDir>
#include <QFile>

#include <chrono>
#include <thread>

#include <fcntl.h>
#include <unistd.h>

#include <gtest/gtest.h>

using Mode = ScanFixture::Mode;

namespace {

// The work file's lines as bytes, without CR LF.
QList<QByteArray> rawLines(const QByteArray& bytes) {
    QList<QByteArray> out;
    for (const QByteArray& line : bytes.split('\n'))
        if (!line.isEmpty()) out.append(line.left(line.size() - 1));
    return out;
}

}  // namespace

// A folder that cannot be opened or read, first, in the middle or last at
// its level, deeper down or the root itself: listed as one without files,
// the listing otherwise as it was, and each named to the host.
TEST(HostileTree, AnUnreadableFolderIsListedWithoutFilesAndNamed) {
    const QString empty =
        sp(67) + QStringLiteral("    0 Files") + sp(12) + QStringLiteral("< 0 KB >");
    struct Row {
        std::vector<const char*> closed;  // below the tree; "" is the root
        bool opens;                       // opened, but its read fails
        QStringList named;
    } rows[] = {
        {{"a"}, false, {QStringLiteral("C:\\a")}},
        {{"m", "z"}, true, {QStringLiteral("C:\\m"), QStringLiteral("C:\\z")}},
        {{"m/deep/deeper"}, false, {QStringLiteral("C:\\m\\deep\\deeper")}},
        {{""}, false, {QStringLiteral("C:\\")}},
    };
    for (const Row& row : rows) {
        TempTree tree;
        for (const char* folder : {"a", "m", "m/deep/deeper", "z"})
            tree.file(QByteArray(folder) + "/secret.txt", 1000);
        tree.file("top.txt", 2000);
        for (const char* closed : row.closed) {
            const QByteArray path = *closed ? tree.path(closed) : tree.root();
            if (row.opens)
                dosfs::faults::failOperation(dosfs::faults::Op::ReadFolder, EACCES, path);
            else
                dosfs::faults::denyFolder(path);
        }
        ScanFixture f(tree);
        const QStringList lines = f.run(Mode::Totals);
        dosfs::faults::clearAll();
        const std::string at = row.named.join(u' ').toStdString();
        EXPECT_EQ(f.host.unreadable, row.named) << at;
        EXPECT_EQ(f.scan.unreadableFolders, row.named.size()) << at;
        EXPECT_TRUE(f.host.finished) << at;
        for (const QString& folder : row.named) {
            const qsizetype header = lines.indexOf(folder);
            ASSERT_GE(header, 0) << at;
            EXPECT_EQ(lines[header + 1], empty) << at;
        }
    }
}

namespace {

// Processes below `pid` (its children, theirs, ...) that have ended but
// were never reaped.
int zombiesBelow(pid_t pid) {
    int found = 0;
    QDir proc(QStringLiteral("/proc"));
    for (const QString& entry : proc.entryList(QDir::Dirs)) {
        bool number = false;
        const pid_t child = entry.toInt(&number);
        if (!number) continue;
        QFile stat(QStringLiteral("/proc/%1/stat").arg(entry));
        if (!stat.open(QIODevice::ReadOnly)) continue;
        // pid (comm) state ppid ...: the name may hold spaces and brackets.
        const QByteArray text = stat.readAll();
        const QList<QByteArray> after = text.mid(text.lastIndexOf(')') + 2).split(' ');
        if (after.size() < 2 || after[1].toInt() != pid) continue;
        found += (after[0] == "Z") + zombiesBelow(child);
    }
    return found;
}

}  // namespace

// The helper that reads a network or FUSE mount is killed as it reads the
// root, the first, a middle or the last folder: the scan ends there as a
// stop does, says why, names no folder unreadable, and leaves no zombie; the
// next read of the mount is made by a new helper, never here.
TEST(HostileTree, AReaderKilledMidScanEndsItAndANewOneReadsOn) {
    TempTree tree;
    for (const char* folder : {"scan/a", "scan/m", "scan/m/deep", "scan/z", "after"})
        tree.file(QByteArray(folder) + "/f.txt", 1000);
    struct Row {
        const char* killedAt;
        QStringList listed;  // the folders listed before the scan ended
    } rows[] = {
        {"scan", {}},
        {"scan/a", {QStringLiteral("C:\\scan")}},
        {"scan/m", {QStringLiteral("C:\\scan"), QStringLiteral("C:\\scan\\a")}},
        {"scan/z",
         {QStringLiteral("C:\\scan"), QStringLiteral("C:\\scan\\a"), QStringLiteral("C:\\scan\\m"),
          QStringLiteral("C:\\scan\\m\\deep")}},
    };
    for (const Row& row : rows) {
        const int status = inChild([&](int) {
            namespace faults = dosfs::faults;
            faults::countAsAway(tree.root());
            faults::endReaderOf(tree.path(row.killedAt));  // in the helpers
            if (!dosfs::away::start()) return 10;
            faults::clearAll();
            faults::countAsAway(tree.root());
            // A read made here instead of by a helper would fail.
            faults::failOperation(faults::Op::ReadFolder, EIO, tree.root());
            ScanFixture f(tree);
            f.scan.readers = readers::ReadAhead::Readers::fixed(1);
            const QStringList lines = f.run(Mode::Totals, QStringLiteral("C:\\scan"));
            if (f.scan.ended != engine::Module1::End::ReadsLost || f.host.finished) return 11;
            if (f.scan.unreadableFolders != 0) return 12;
            QStringList listed;
            for (const QString& line : lines)
                if (line.startsWith(QStringLiteral("C:\\"))) listed.append(line);
            if (listed != row.listed) return 13;
            for (int wait = 0; zombiesBelow(::getpid()) > 0; ++wait) {
                if (wait == 100) return 14;
                std::this_thread::sleep_for(std::chrono::milliseconds(10));
            }
            dosfs::Directory after;
            dosfs::FolderContents contents;
            if (dosfs::Directory::open(tree.path("after"), after) || after.read(contents) ||
                contents.files.size() != 1)
                return 15;
            return 0;
        });
        EXPECT_EQ(status, 0) << row.killedAt;
    }
}

TEST(HostileTree, FoldersAndFilesDeletedDuringTheScanDoNotStopIt) {
    TempTree tree;
    tree.file("a/one.txt", 1000);
    tree.file("b/two.txt", 1000);
    tree.file("c/three.txt", 1000);
    tree.link("c/dangling", "gone");
    ScanFixture f(tree);
    // While "a" is listed, "b" disappears and "c" loses a file.
    f.host.onFolder = [&tree](const QString& path) {
        if (path != QLatin1String("C:\\a")) return;
        tree.remove("b");
        tree.remove("c/three.txt");
    };
    const QStringList lines = f.run(Mode::Totals);
    EXPECT_TRUE(lines.contains(QStringLiteral("C:\\b")));  // read before it vanished: listed empty
    EXPECT_TRUE(
        lines.contains(QStringLiteral("  C:\\c\\dangling") + sp(72) + QStringLiteral("-") + sp(9)));
    EXPECT_EQ(f.host.foundCount, QStringLiteral("2"));
    EXPECT_TRUE(f.host.finished);
}

TEST(HostileTree, NamesTheCodePageCannotHoldAreWrittenWithQuestionMarksAndStayAligned) {
    TempTree tree;
    tree.file("bad\xFF\xFEname.txt", 1);
    tree.file("back\\slash.txt", 2);
    tree.file("emoji\xF0\x9F\x98\x80.txt", 3);
    tree.file("caf\xC3\xA9.txt", 4);
    tree.file("\xED\x95\x9C\xEA\xB8\x80.txt", 5);  // Hangul
    tree.file("\xE6\x97\xA5\xE6\x9C\xAC.txt", 6);  // Japanese
    ScanFixture f(tree);
    f.run(Mode::Totals);
    const QList<QByteArray> raw = rawLines(f.workFileBytes);
    int fileLines = 0;
    for (const QByteArray& line : raw) {
        if (!line.startsWith("  C:\\")) continue;
        ++fileLines;
        EXPECT_EQ(line.size(), 97) << line.constData();
    }
    EXPECT_EQ(fileLines, 6);
    const QByteArray all = f.workFileBytes;
    EXPECT_TRUE(all.contains("  C:\\bad??name.txt "));
    EXPECT_TRUE(all.contains("  C:\\back?slash.txt "));
    EXPECT_TRUE(all.contains("  C:\\emoji?.txt "));
    EXPECT_TRUE(all.contains("  C:\\caf?.txt "));
    EXPECT_TRUE(all.contains("  C:\\??.txt "));
    EXPECT_TRUE(all.contains("  C:\\\x93\xFA\x96\x7B.txt "));
    // Side A keeps the real names, so each file can be found again.
    bool sawBackslashName = false;
    for (const SideARow& row : f.host.sideA)
        if (dosfs::encodeHostName(row.path.mid(3)) == QByteArray("back\\slash.txt"))
            sawBackslashName = true;
    EXPECT_TRUE(sawBackslashName);
}

TEST(HostileTree, AFolderOfAHundredThousandFilesIsListedWhole) {
    TempTree tree(TempTree::InMemory{});
    tree.folder("many");
    for (int i = 0; i < 100000; ++i) {
        const QByteArray name = tree.path("many/f") + QByteArray::number(i);
        const int fd = ::open(name.constData(), O_WRONLY | O_CREAT, 0644);
        ASSERT_GE(fd, 0);
        ::close(fd);
    }
    ScanFixture f(tree);
    const QStringList lines = f.run(Mode::Plain, QStringLiteral("C:\\many"));
    ASSERT_EQ(lines.size(), 100001);
    EXPECT_EQ(f.scan.listing.listedCount(), 100000);
    EXPECT_TRUE(lines[1].startsWith(QStringLiteral("  C:\\many\\f0 ")));
    EXPECT_TRUE(lines[2].startsWith(QStringLiteral("  C:\\many\\f1 ")));
    EXPECT_TRUE(lines[3].startsWith(QStringLiteral("  C:\\many\\f10 ")));
}

TEST(HostileTree, PathsLongerThanTheHostLimitAreWalked) {
    TempTree tree;
    const QByteArray name(220, 'p');
    tree.deepFolders(name, 20, "bottom.txt");  // 20 x 221 bytes below the root
    QString root = QStringLiteral("C:");
    for (int i = 0; i < 12; ++i) root += u'\\' + QString::fromLatin1(name);
    ScanFixture f(tree);
    const QStringList lines = f.run(Mode::Totals, root);
    ASSERT_EQ(f.host.sideA.size(), 1u);
    EXPECT_GT(dosfs::encodeHostName(f.host.sideA[0].path).size(), 4096);
    EXPECT_TRUE(f.host.sideA[0].path.endsWith(QStringLiteral("\\bottom.txt")));
    EXPECT_EQ(f.scan.listing.listedCount(), 1);
    // The long path is cut to its column and marked.
    const QString cut = QStringLiteral("  ") + root.left(80) + QStringLiteral("..") + sp(3) +
                        QStringLiteral("-        0");
    EXPECT_EQ(lines.count(cut), 1);
}

TEST(HostileTree, LinkLoopsAreNotEntered) {
    TempTree tree;
    tree.file("real/data.txt", 10);
    tree.link("real/self", ".");
    tree.link("real/up", "..");
    tree.link("loop-a", "loop-b");
    tree.link("loop-b", "loop-a");
    ScanFixture f(tree);
    const QStringList lines = f.run(Mode::Totals);
    EXPECT_EQ(f.host.sideA.size(), 3u);  // data.txt and the two loop links
    EXPECT_FALSE(lines.join(u'\n').contains(QStringLiteral("C:\\real\\self")));
    EXPECT_TRUE(
        lines.contains(QStringLiteral("  C:\\loop-a") + sp(76) + QStringLiteral("-") + sp(9)));
}

TEST(HostileTree, ControlCharactersInNamesListLikeQuestionMarks) {
    // A newline, a tab and a DEL in names, and the same names with "?".
    TempTree odd, plain;
    for (const char* name : {"a\nb.txt", "c\td.txt",
                             "e\x7f"
                             "f.txt"}) {
        odd.file(QByteArray("sub\r/") + name, 120);
        plain.file(QByteArray("sub?/") +
                       QByteArray(name).replace('\n', '?').replace('\t', '?').replace('\x7f', '?'),
                   120);
    }
    for (const engine::ListType type : {engine::ListType::FullPaths, engine::ListType::Names}) {
        ScanFixture o(odd), p(plain);
        const QStringList oddLines = o.run(Mode::Totals, QStringLiteral("C:\\"), type);
        p.run(Mode::Totals, QStringLiteral("C:\\"), type);
        // One record a line, and the bytes of the "?" listing.
        EXPECT_EQ(o.workFileBytes.mid(o.workFileBytes.indexOf('\n')),
                  p.workFileBytes.mid(p.workFileBytes.indexOf('\n')));
        EXPECT_EQ(oddLines.size(), p.host.lines.size());
        // Each row's name still opens its own file.
        ASSERT_EQ(o.host.sideA.size(), 3u);
        for (const SideARow& row : o.host.sideA) {
            EXPECT_FALSE(row.path.contains(u'\n'));
            const dosfs::Resolved r = o.fs.resolve(row.path);
            EXPECT_EQ(r.error, 0) << row.path.toStdString();
            EXPECT_TRUE(QFile::exists(QString::fromUtf8(r.host)));
        }
    }
}
