// The exclusion patterns: what each leaves out, the bad ones, and that a
// scan never opens a folder they leave out.

#include "engine/exclusions.h"
#include "platform/dosfs/fault_seam.h"
#include "tests/engine/scan_fixture.h"

#include <gtest/gtest.h>

namespace {

engine::Exclusions compiled(const QList<QByteArray>& patterns) {
    engine::Exclusions out;
    engine::BadPattern bad;
    EXPECT_TRUE(engine::Exclusions::compile(patterns, out, bad)) << bad.message().toStdString();
    return out;
}

}  // namespace

TEST(ExclusionsTest, PatternsMatchNamesAndPathsOnTheirBytes) {
    const struct {
        const char* pattern;
        const char* folder;  // below the folder listed
        QByteArray name;
        bool isFolder;
        bool leftOut;
    } rows[] = {
        {"node_modules", "", "node_modules", true, true},
        {"node_modules", "a/b", "node_modules", false, true},  // any level, files too
        {"node_modules", "", "Node_modules", true, false},     // case as on disk
        {".git/", "src", ".git", true, true},
        {".git/", "src", ".git", false, false},  // a trailing "/": folders only
        {"*.o", "x", "main.o", false, true},
        {"*.o", "x", "main.oo", false, false},
        {"*", "", ".hidden", false, true},
        {"?.c", "", "é.c", false, true},  // "?" is a character, not a byte
        {"?.c", "", "ab.c", false, false},
        {"?.c", "", QByteArray("\xff.c"), false, true},  // a byte that is no UTF-8
        {"[a-c]x", "", "bx", false, true},
        {"[!a-c]x", "", "bx", false, false},
        {"[^a-c]x", "", "dx", false, true},
        {"[]]", "", "]", false, true},
        {"[*]", "", "*", false, true},
        {"[*]", "", "a", false, false},
        {"a\\b", "", "a\\b", false, true},  // a backslash is a character
        {"line*", "", "line\nbreak", false, true},
        {"build/out", "", "out", false, false},  // with "/": the path below the folder
        {"build/out", "build", "out", true, true},
        {"build/out", "x/build", "out", true, false},
        {"/top", "", "top", false, true},  // a leading "/" anchors
        {"/top", "a", "top", false, false},
        {"**/cache", "a/b/c", "cache", true, true},
        {"**/cache", "", "cache", true, true},
        {"a/**/z", "a", "z", false, true},
        {"a/**/z", "a/b/c", "z", false, true},
        {"a/**/z", "b", "z", false, false},
        {"src/*.tmp", "src", "x.tmp", false, true},
        {"src/*.tmp", "src/deep", "x.tmp", false, false},
        {"*.TMP", "", "x.tmp", false, false},
    };
    for (const auto& row : rows) {
        const engine::Exclusions e = compiled({row.pattern});
        EXPECT_EQ(e.leaves(row.folder, row.name, row.isFolder) == 0, row.leftOut)
            << row.pattern << " on " << row.folder << "/" << row.name.toStdString();
    }
}

TEST(ExclusionsTest, BadPatternsAreNamedAndTheFirstMatchingPatternCounts) {
    const struct {
        QByteArray pattern;
        const char* why;
    } bad[] = {{"", "is empty"},
               {"/", "holds only"},
               {"**", "holds only"},
               {"/**/", "holds only"},
               {"a[bc", "not closed"},
               {"[!", "not closed"},
               {QByteArray("a\0b", 3), "NUL"}};
    for (const auto& row : bad) {
        engine::Exclusions out = compiled({"kept"});
        engine::BadPattern found;
        EXPECT_FALSE(engine::Exclusions::compile({"ok", row.pattern}, out, found));
        EXPECT_EQ(found.pattern, row.pattern);
        EXPECT_TRUE(found.message().contains(QLatin1String(row.why)))
            << found.message().toStdString();
        EXPECT_EQ(out.patterns(), QList<QByteArray>{"kept"});  // left as it was
    }
    const engine::Exclusions e = compiled({"*.c", "b*", "src/b.c", "b.c"});
    EXPECT_EQ(e.leaves("src", "b.c", false), 0);
    EXPECT_EQ(e.leaves("", "bar", false), 1);
    EXPECT_EQ(e.leaves("", "x.h", false), -1);
    EXPECT_EQ(e.leavesRoot("/home/alice/src"), -1);
    EXPECT_EQ(compiled({"x", "bui*/"}).leavesRoot("/home/alice/build"), 1);
    EXPECT_EQ(compiled({"/build"}).leavesRoot("/home/alice/build"), -1);  // paths are below it
    EXPECT_TRUE(e.samePatterns(compiled({"b.c", "src/b.c", "b*", "*.c", "b*"})));
    EXPECT_FALSE(e.samePatterns(compiled({"*.c"})));
    EXPECT_EQ(engine::Exclusions::patternLines("# comment\r\n.git/\r\n\n node\nx"),
              (QList<QByteArray>{".git/", " node", "x"}));
}

TEST(ExclusionsTest, AScanNeverOpensAFolderLeftOutAndCountsIt) {
    TempTree tree;
    tree.file("keep/a.txt", 10);
    tree.file("skip/inner/b.txt", 20);
    tree.file("skip/c.txt", 30);
    tree.file("keep/skip/d.txt", 40);
    tree.file("keep/e.o", 50);
    for (int threads : {1, 4}) {
        ScanFixture f(tree);
        f.scan.readers = readers::ReadAhead::Readers::fixed(threads);
        f.scan.settings.exclusions = compiled({"skip/", "*.o"});
        dosfs::faults::failOperation(dosfs::faults::Op::Open, 0, tree.path("skip"));
        dosfs::faults::failOperation(dosfs::faults::Op::Open, 0, tree.path("keep/skip"));
        const QStringList lines = f.run(ScanFixture::Mode::Plain);
        EXPECT_EQ(dosfs::faults::calls(dosfs::faults::Op::Open, tree.path("skip")), 0);
        EXPECT_EQ(dosfs::faults::calls(dosfs::faults::Op::Open, tree.path("keep/skip")), 0);
        dosfs::faults::clearAll();
        ASSERT_EQ(lines.size(), 2) << lines.join(u'\n').toStdString();
        EXPECT_TRUE(lines[1].contains(QLatin1String("C:\\keep\\a.txt")));
        EXPECT_EQ(f.scan.leftOut.folders, 2);
        EXPECT_EQ(f.scan.leftOut.files, 1);
        EXPECT_EQ(f.scan.leftOut.byPattern, (std::vector<qint64>{2, 1}));
    }
}
