// Scans with an extension filter in both output types.

#include "tests/engine/scan_fixture.h"

#include <gtest/gtest.h>

using Mode = ScanFixture::Mode;

namespace {

class FilterTest : public ::testing::Test {
  protected:
    void SetUp() override {
        tree.file("notes.txt", 100);
        tree.file("x.tar.txt", 200);
        tree.file("a.doc", 300);
        tree.file("TXT", 5);  // no extension at all
        tree.file("ver.2/a.txt", 50);
        tree.file("none/b.doc", 7);
    }
    TempTree tree;
};

QString file1(const QString& path, const QString& size) {
    return QStringLiteral("  ") + path + sp(85 - static_cast<int>(path.size())) + u'-' + size;
}

}  // namespace

TEST_F(FilterTest, OutputType1ShowsHeadersAndFootersOnlyForFoldersWithMatches) {
    ScanFixture f(tree);
    const QStringList lines = f.run(Mode::Totals, QStringLiteral("C:\\"),
                                    engine::ListType::FullPaths, QStringLiteral("txt"));
    const QStringList expected = {
        banner(57, QStringLiteral("ﾃﾞｨﾚｸﾄﾘ＋ﾌｧｲﾙ"), QStringLiteral("txt")),
        QStringLiteral("c: [root]"),
        QString(),
        QStringLiteral("C:"),
        file1(QStringLiteral("C:\\notes.txt"), QStringLiteral("      100")),
        file1(QStringLiteral("C:\\x.tar.txt"), QStringLiteral("      200")),  // by its last five
        sp(67) + QStringLiteral("    2 Files") + sp(10) + QStringLiteral("< 0.3 KB >"),
        QStringLiteral("C:\\ver.2"),
        file1(QStringLiteral("C:\\ver.2\\a.txt"), QStringLiteral("       50")),
        sp(67) + QStringLiteral("    1 Files") + sp(9) + QStringLiteral("< 0.05 KB >"),
        sp(54) + QStringLiteral("    Total        3 Files") + sp(9) + QStringLiteral("[ 0.35 KB ]"),
    };
    EXPECT_EQ(lines, expected);
    EXPECT_EQ(f.host.lines, expected);
    EXPECT_EQ(f.host.foundCount, QStringLiteral("3"));
    EXPECT_EQ(f.scan.matchCount, 3);
    EXPECT_EQ(f.scan.matchBytes, 350);
    EXPECT_EQ(f.host.sideA.size(), 6u);  // Side A shows every file visited
}

TEST_F(FilterTest, OutputType2ComparesTheFirstDotOfTheNameAndHasNoFooters) {
    ScanFixture f(tree);
    const QStringList lines =
        f.run(Mode::Totals, QStringLiteral("C:\\"), engine::ListType::Names, QStringLiteral("TXT"));
    const QString date = QStringLiteral("2024/01/05 05:07:09") + sp(6);
    const QStringList expected = {
        banner(64, QStringLiteral("ﾌｧｲﾙ"), QStringLiteral("TXT")),
        QStringLiteral("c: [root]"),
        QString(),
        QStringLiteral("C:"),
        QStringLiteral("  notes.txt") + sp(53) + QStringLiteral("-      100") + date,
        QStringLiteral("C:\\ver.2"),
        QStringLiteral("  a.txt") + sp(57) + QStringLiteral("-       50") + date,
        sp(31) + QStringLiteral("    Total        2 Files") + sp(9) + QStringLiteral("[ 0.15 KB ]"),
    };
    EXPECT_EQ(lines, expected);
    EXPECT_EQ(f.host.foundCount, QStringLiteral("2"));
}

TEST_F(FilterTest, FolderSizeModeNamesOnlyFoldersWithMatches) {
    ScanFixture f(tree);
    const QStringList lines = f.run(Mode::Folders, QStringLiteral("C:\\"),
                                    engine::ListType::FullPaths, QStringLiteral("TXT"));
    ASSERT_EQ(lines.size(), 6);
    EXPECT_EQ(lines[3], QStringLiteral("C:") + sp(65) + QStringLiteral("    2 Files") + sp(10) +
                            QStringLiteral("< 0.3 KB >"));
    EXPECT_EQ(lines[4], QStringLiteral("C:\\ver.2") + sp(59) + QStringLiteral("    1 Files") +
                            sp(9) + QStringLiteral("< 0.05 KB >"));
    EXPECT_EQ(lines[5], sp(54) + QStringLiteral("    Total        3 Files") + sp(9) +
                            QStringLiteral("[ 0.35 KB ]"));
}

TEST_F(FilterTest, AFilterThatMatchesNothingStillGivesAnEmptyTotal) {
    for (const char* ext : {"ZZZ", "HTML"}) {
        ScanFixture f(tree);
        const QStringList lines = f.run(Mode::Totals, QStringLiteral("C:\\"),
                                        engine::ListType::FullPaths, QString::fromLatin1(ext));
        ASSERT_EQ(lines.size(), 4) << ext;
        EXPECT_EQ(lines[3], sp(54) + QStringLiteral("    Total        0 Files") + sp(12) +
                                QStringLiteral("[ 0 KB ]"));
        EXPECT_EQ(f.host.foundCount, QStringLiteral("0"));
        EXPECT_EQ(f.scan.listing.listedCount(), 0);
    }
}

TEST_F(FilterTest, PlainListModeShowsOnlyTheMatchingFiles) {
    ScanFixture f(tree);
    const QStringList lines = f.run(Mode::Plain, QStringLiteral("C:\\"),
                                    engine::ListType::FullPaths, QStringLiteral("doc"));
    EXPECT_EQ(lines,
              (QStringList{banner(57, QStringLiteral("ﾃﾞｨﾚｸﾄﾘ＋ﾌｧｲﾙ"), QStringLiteral("doc")),
                           file1(QStringLiteral("C:\\a.doc"), QStringLiteral("      300")),
                           file1(QStringLiteral("C:\\none\\b.doc"), QStringLiteral("        7"))}));
    EXPECT_EQ(f.host.foundCount, QStringLiteral("2"));
}

TEST(ShortFilterTest, OutputType2MatchesExtensionsShorterThanThreeLetters) {
    TempTree tree;
    for (const char* name : {"tool.py", "a.c", "x.tar.gz", "page.html", "b.cpp", "notes.txt"})
        tree.file(name, 10);
    const struct {
        const char* filter;
        QStringList listed;
    } cases[] = {
        {"py", {QStringLiteral("tool.py")}},
        {"c", {QStringLiteral("a.c")}},
        {"tar", {QStringLiteral("x.tar.gz")}},  // the first "." decides
        {"gz", {}},
        {"HTML", {}},  // four letters never match the three after the dot
        {"htm", {QStringLiteral("page.html")}},
    };
    for (const auto& c : cases) {
        ScanFixture f(tree);
        f.run(Mode::Plain, QStringLiteral("C:\\"), engine::ListType::Names,
              QString::fromUtf8(c.filter));
        QStringList listed;
        for (const QString& line : f.host.lines)
            if (line.startsWith(QStringLiteral("  ")))
                listed << line.mid(2, line.indexOf(u' ', 2) - 2);
        EXPECT_EQ(listed, c.listed) << c.filter;
    }
}
