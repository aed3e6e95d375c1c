// Whole listings of the three scan modes over small trees, written out by hand.

#include "tests/engine/scan_fixture.h"

#include <gtest/gtest.h>

using Mode = ScanFixture::Mode;

namespace {

// Output type 1 file line with the default window: the path in an 87-column
// field with a two-space indent, "-", the size in 9.
QString line1(const QString& path, const QString& size, int pad) {
    return QStringLiteral("  ") + path + sp(pad) + u'-' + size;
}
QString footer(const QString& count, const QString& kb) {
    return sp(67) + count + QStringLiteral(" Files") + kb;
}

class ScanTreeTest : public ::testing::Test {
  protected:
    void SetUp() override {
        tree.file("a.txt", 6);                  // 2024/01/05 5:07:09
        tree.file("B.txt", 12345, 1704412800);  // midnight
        tree.file("Readme.TXT", 0, 1704067199);
        tree.file("sub/x.tar.txt", 2);
        tree.folder("sub/deep");
        tree.file("日本/メモ.txt", 1000);
    }
    TempTree tree;
};

}  // namespace

TEST_F(ScanTreeTest, ListWithTotalsModeListsEveryFolderWithItsFooterAndTheTotal) {
    ScanFixture f(tree);
    const QStringList lines = f.run(Mode::Totals);
    const QStringList expected = {
        banner(),
        QStringLiteral("c: [root]"),
        QString(),
        QStringLiteral("C:\\"),
        line1(QStringLiteral("C:\\a.txt"), QStringLiteral("        6"), 77),
        line1(QStringLiteral("C:\\B.txt"), QStringLiteral("    12345"), 77),
        line1(QStringLiteral("C:\\Readme.TXT"), QStringLiteral("        0"), 72),
        footer(QStringLiteral("    3"), sp(8) + QStringLiteral("< 12.35 KB >")),
        QStringLiteral("C:\\sub"),
        line1(QStringLiteral("C:\\sub\\x.tar.txt"), QStringLiteral("        2"), 69),
        footer(QStringLiteral("    1"), sp(12) + QStringLiteral("< 0 KB >")),
        QStringLiteral("C:\\sub\\deep"),
        footer(QStringLiteral("    0"), sp(12) + QStringLiteral("< 0 KB >")),
        QStringLiteral("C:\\日本"),
        QStringLiteral("  C:\\日本\\メモ.txt") + sp(69) + QStringLiteral("-     1000"),
        footer(QStringLiteral("    1"), sp(12) + QStringLiteral("< 1 KB >")),
        sp(54) + QStringLiteral("    Total        5 Files") + sp(8) +
            QStringLiteral("[ 13.35 KB ]"),
    };
    EXPECT_EQ(lines, expected);
    EXPECT_EQ(f.host.lines, expected);
    EXPECT_EQ(f.scan.listing.listedCount(), 5);
    EXPECT_EQ(f.host.foundCount, QStringLiteral("5"));
    EXPECT_TRUE(f.host.finished);
    EXPECT_TRUE(f.host.stopEnabled);
    EXPECT_EQ(f.host.shownPaths,
              (QStringList{QStringLiteral("C:\\sub"), QStringLiteral("C:\\sub"),
                           QStringLiteral("C:\\sub\\deep"), QStringLiteral("C:\\日本"),
                           QStringLiteral("C:\\日本")}));

    ASSERT_EQ(f.host.sideA.size(), 5u);
    EXPECT_EQ(f.host.sideA[0].path, QStringLiteral("C:\\a.txt"));
    EXPECT_EQ(f.host.sideA[0].size, QStringLiteral("        6 "));
    EXPECT_EQ(f.host.sideA[0].date, QStringLiteral("2024/01/05 5:07:09"));
    EXPECT_EQ(f.host.sideA[1].date, QStringLiteral("2024/01/05"));
    EXPECT_EQ(f.host.sideA[4].path, QStringLiteral("C:\\日本\\メモ.txt"));
    // Every line but the banner and the drive line is exactly 97 or 98 columns in the file.
    for (const QByteArray& raw : f.workFileBytes.split('\n').mid(3)) {
        if (!raw.startsWith("  C:")) continue;
        EXPECT_EQ(raw.size(), 98) << raw.constData();  // with CR
    }
}

TEST_F(ScanTreeTest, PlainListModeIsTheBannerAndTheFileLines) {
    ScanFixture f(tree);
    const QStringList lines = f.run(Mode::Plain, QStringLiteral("C:\\sub"));
    EXPECT_EQ(lines, (QStringList{banner(), line1(QStringLiteral("C:\\sub\\x.tar.txt"),
                                                  QStringLiteral("        2"), 69)}));
    EXPECT_EQ(f.host.lines, lines);
    EXPECT_EQ(f.host.foundCount, QStringLiteral("1"));
}

TEST_F(ScanTreeTest, FolderSizeModeNamesEachFolderInItsFooter) {
    ScanFixture f(tree);
    const QStringList lines = f.run(Mode::Folders);
    const QStringList expected = {
        banner(),
        QStringLiteral("c: [root]"),
        QString(),
        QStringLiteral("C:\\") + sp(64) + QStringLiteral("    3 Files") + sp(8) +
            QStringLiteral("< 12.35 KB >"),
        QStringLiteral("C:\\sub") + sp(61) + QStringLiteral("    1 Files") + sp(12) +
            QStringLiteral("< 0 KB >"),
        QStringLiteral("C:\\sub\\deep") + sp(56) + QStringLiteral("    0 Files") + sp(12) +
            QStringLiteral("< 0 KB >"),
        QStringLiteral("C:\\日本") + sp(58) + QStringLiteral("      1 Files") + sp(12) +
            QStringLiteral("< 1 KB >"),
        sp(54) + QStringLiteral("    Total        5 Files") + sp(8) +
            QStringLiteral("[ 13.35 KB ]"),
    };
    EXPECT_EQ(lines, expected);
    EXPECT_EQ(f.host.lines, expected);
    EXPECT_EQ(f.host.sideA.size(), 5u);  // Side A still shows every file
}

TEST_F(ScanTreeTest, OutputType2ListsBareNamesWithPaddedDates) {
    ScanFixture f(tree);
    const QStringList lines = f.run(Mode::Totals, QStringLiteral("C:\\"), engine::ListType::Names);
    const QString date = QStringLiteral("2024/01/05 05:07:09") + sp(6);
    ASSERT_GE(lines.size(), 15);
    EXPECT_EQ(lines[0], banner(64, QStringLiteral("ﾌｧｲﾙ")));
    EXPECT_EQ(lines[4], QStringLiteral("  a.txt") + sp(57) + QStringLiteral("-        6") + date);
    EXPECT_EQ(lines[4].size(), 99);
    EXPECT_EQ(lines[5], QStringLiteral("  B.txt") + sp(57) + QStringLiteral("-    12345") +
                            QStringLiteral("2024/01/05") + sp(6));
    EXPECT_EQ(lines[7],
              sp(44) + QStringLiteral("    3 Files") + sp(8) + QStringLiteral("< 12.35 KB >"));
    EXPECT_EQ(lines[14],
              QStringLiteral("  メモ.txt") + sp(54) + QStringLiteral("-     1000") + date);
    EXPECT_EQ(lines.last(), sp(31) + QStringLiteral("    Total        5 Files") + sp(8) +
                                QStringLiteral("[ 13.35 KB ]"));
}

TEST(ScanTreeEdges, AnEmptyRootHasAFooterButNoTotal) {
    TempTree tree;
    ScanFixture f(tree);
    EXPECT_EQ(f.run(Mode::Totals),
              (QStringList{banner(), QStringLiteral("c: [root]"), QString(), QStringLiteral("C:\\"),
                           footer(QStringLiteral("    0"), sp(12) + QStringLiteral("< 0 KB >"))}));
    EXPECT_EQ(f.host.foundCount, QStringLiteral("0"));
}

// A tree of empty files: unfiltered, the Total line counts them at 0 KB
// and the found count shows them; filtered, the total stands only when the
// tree's files hold a byte, and the found count is the matches.
TEST(ScanTreeEdges, EmptyFilesAreCountedInTheTotalOfAnUnfilteredScan) {
    const QString zeroTotal = sp(12) + QStringLiteral("[ 0 KB ]");
    struct Row {
        const char* ext;
        Mode mode;
        std::vector<const char*> files;
        QString total;  // the last line's text from "Total" on; empty for none
        const char* found;
    } rows[] = {
        {"*",
         Mode::Totals,
         {"e1", "sub/e2", "sub/deep/e3"},
         QStringLiteral("Total        3 Files") + zeroTotal,
         "3"},
        {"*",
         Mode::Folders,
         {"e1", "sub/e2"},
         QStringLiteral("Total        2 Files") + zeroTotal,
         "2"},
        {" * ", Mode::Totals, {"sub/e2"}, QStringLiteral("Total        1 Files") + zeroTotal, "1"},
        {"*", Mode::Totals, {}, QString(), "0"},  // empty folders, no file at all
        {"TXT", Mode::Totals, {"a.txt", "sub/b.txt", "c.doc"}, QString(), "2"},
        {"ZZZ", Mode::Totals, {"a.txt", "sub/b.txt"}, QString(), "0"},
    };
    for (const Row& row : rows) {
        TempTree tree;
        tree.folder("sub/deep");
        for (const char* file : row.files) tree.file(file);
        ScanFixture f(tree);
        const QStringList lines = f.run(row.mode, QStringLiteral("C:\\"),
                                        engine::ListType::FullPaths, QString::fromLatin1(row.ext));
        const QString last = lines.last().trimmed();
        if (row.total.isEmpty())
            EXPECT_FALSE(last.contains(QStringLiteral("Total")))
                << row.ext << " " << last.toStdString();
        else
            EXPECT_EQ(last, row.total) << row.ext;
        EXPECT_EQ(f.host.foundCount, QString::fromLatin1(row.found)) << row.ext;
    }
}

TEST(ScanTreeEdges, ExactSumsAndTenDigitSizes) {
    TempTree tree;
    for (int i = 0; i < 10; ++i) tree.file(QByteArray("ten/f") + QByteArray::number(i), 10);
    tree.file("big.iso", 1234567890);
    ScanFixture f(tree);
    const QStringList lines = f.run(Mode::Totals);
    EXPECT_TRUE(
        lines.contains(line1(QStringLiteral("C:\\big.iso"), QStringLiteral("1234567890"), 75)));
    EXPECT_TRUE(
        lines.contains(footer(QStringLiteral("   10"), sp(10) + QStringLiteral("< 0.1 KB >"))));
    EXPECT_TRUE(
        lines.contains(footer(QStringLiteral("    1"), sp(6) + QStringLiteral("< 1234568 KB >"))));
    EXPECT_EQ(lines.last(), sp(54) + QStringLiteral("    Total       11 Files") +
                                QStringLiteral("   [ 1234567.99 KB ]"));
}

TEST(ScanTreeEdges, FoldersBelowTheEighthLevelAreNotListed) {
    TempTree tree;
    QByteArray rel;
    for (int depth = 1; depth <= 10; ++depth) {
        rel += (rel.isEmpty() ? "" : "/") + QByteArray("d") + QByteArray::number(depth);
        tree.file(rel + "/f.txt", 1000);
    }
    ScanFixture f(tree);
    const QStringList lines = f.run(Mode::Totals);
    EXPECT_TRUE(lines.contains(QStringLiteral("C:\\d1\\d2\\d3\\d4\\d5\\d6\\d7\\d8")));
    EXPECT_FALSE(lines.contains(QStringLiteral("C:\\d1\\d2\\d3\\d4\\d5\\d6\\d7\\d8\\d9")));
    EXPECT_EQ(f.host.foundCount, QStringLiteral("8"));
    EXPECT_EQ(lines.last(), sp(54) + QStringLiteral("    Total        8 Files") + sp(12) +
                                QStringLiteral("[ 8 KB ]"));
}

TEST(ScanTreeEdges, NamesSortRegardlessOfCaseAndTiesByExactText) {
    TempTree tree;
    for (const char* name : {"Readme.TXT", "b.txt", "a.txt", "B.txt", "_x", "Z"})
        tree.file(name, 1);
    ScanFixture f(tree);
    f.run(Mode::Plain);
    QStringList order;
    for (const SideARow& row : f.host.sideA) order.append(row.path.mid(3));
    EXPECT_EQ(order, (QStringList{QStringLiteral("_x"), QStringLiteral("a.txt"),
                                  QStringLiteral("B.txt"), QStringLiteral("b.txt"),
                                  QStringLiteral("Readme.TXT"), QStringLiteral("Z")}));
}

class StopTest : public ::testing::Test {
  protected:
    void SetUp() override {
        tree.file("A/a.txt", 1000);
        tree.file("A/A1/a1.txt", 1000);
        tree.file("A/A1/A11/a11.txt", 1000);
        tree.file("A/A2/a2.txt", 1000);
        tree.file("B/b.txt", 1000);
        tree.file("B/B1/B11/b11.txt", 1000);
    }
    // Runs a scan that asks to stop at poll number `at`; returns Side B.
    QStringList stopAt(int at) {
        ScanFixture f(tree);
        f.host.onPoll = [&f, at](int poll) {
            if (poll == at) f.scan.settings.abortRequested = true;
        };
        f.run(Mode::Totals);
        EXPECT_TRUE(f.host.stopEnabled);
        EXPECT_FALSE(f.host.finished);
        EXPECT_EQ(f.host.foundCount, QStringLiteral("<unset>"));
        return f.host.lines;
    }
    TempTree tree;
};

TEST_F(StopTest, TakesEffectOnlyAtThePollPoints) {
    EXPECT_EQ(stopAt(1), QStringList{banner()});
    EXPECT_EQ(stopAt(2), (QStringList{banner(), QStringLiteral("c: [root]"), QString()}));
    // Poll 3: before the files of depth-1 folder A.
    EXPECT_EQ(stopAt(3).last(), QStringLiteral("C:\\A"));
    // Poll 5 comes after the subfolders of depth-2 A1 are read: A11 below it is not visited.
    const QStringList five = stopAt(5);
    EXPECT_TRUE(five.contains(QStringLiteral("C:\\A\\A1")));
    EXPECT_FALSE(five.contains(QStringLiteral("C:\\A\\A1\\A11")));
    // Poll 6 comes after A11 (depth 3, no poll of its own) and A2's subfolders.
    const QStringList six = stopAt(6);
    EXPECT_TRUE(six.contains(QStringLiteral("C:\\A\\A1\\A11")));
    EXPECT_TRUE(six.contains(QStringLiteral("C:\\A\\A2")));
    EXPECT_FALSE(six.contains(QStringLiteral("C:\\B")));
    EXPECT_FALSE(six.last().contains(QStringLiteral("Total")));
}

TEST_F(StopTest, BelowTheSecondLevelAStopEndsTheListingAtTheFolderBoundary) {
    // Asked for while a depth-3 folder is listed: the listing ends with that
    // folder's footer, before the next folder and without a total.
    for (const char* deep : {"C:\\A\\A1\\A11", "C:\\B\\B1\\B11"}) {
        ScanFixture f(tree);
        f.host.onFolder = [&f, deep](const QString& path) {
            if (path == QLatin1String(deep)) f.scan.settings.abortRequested = true;
        };
        const QStringList lines = f.run(Mode::Totals);
        EXPECT_FALSE(f.host.finished) << deep;
        EXPECT_TRUE(f.host.stopEnabled) << deep;
        const qsizetype at = lines.indexOf(QString::fromLatin1(deep));
        ASSERT_GE(at, 0) << deep;
        EXPECT_EQ(lines.size(), at + 3) << deep;  // header, the file, the footer
        EXPECT_TRUE(lines.last().contains(QStringLiteral("1 Files"))) << deep;
    }
}
