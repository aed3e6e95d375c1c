// Trees that fight back: unreadable and vanishing folders, names the code
// page cannot hold, huge folders, very long paths, link loops.

#include "tests/engine/scan_fixture.h"

#include "platform/codepage/cp932.h"
#include "platform/dosfs/fault_seam.h"
#include "platform/dosfs/host_name.h"

#include <QFile>

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

TEST(HostileTree, AnUnreadableFolderIsAFolderWithoutFiles) {
    TempTree tree;
    tree.file("locked/secret.txt", 1000);
    tree.file("locked/inner/deeper.txt", 1000);
    tree.file("open/visible.txt", 2000);
    dosfs::faults::denyFolder(tree.path("locked"));
    ScanFixture f(tree);
    const QStringList lines = f.run(Mode::Totals);
    dosfs::faults::clearAll();
    const qsizetype at = lines.indexOf(QStringLiteral("C:\\locked"));
    ASSERT_GE(at, 0);
    EXPECT_EQ(lines[at + 1],
              sp(67) + QStringLiteral("    0 Files") + sp(12) + QStringLiteral("< 0 KB >"));
    EXPECT_EQ(lines[at + 2], QStringLiteral("C:\\open"));
    EXPECT_FALSE(lines.join(u'\n').contains(QStringLiteral("secret")));
    EXPECT_EQ(f.host.foundCount, QStringLiteral("1"));
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
    EXPECT_EQ(lines.size(), 100001);
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
