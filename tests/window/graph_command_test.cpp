// 占有グラフ on the main window's model: the graph of a stopped scan is what
// was read, titled partial; a tree of empty files says why its areas are
// equal.

#include "tests/support/program_fixture.h"

#include <gtest/gtest.h>

#include <map>

namespace {

TEST(GraphCommand, AStoppedScansGraphHoldsWhatWasReadAndSaysItIsPartial) {
    TempTree tree;
    tree.file("c/work/a.txt", 1200);
    tree.file("c/work/b.doc", 34567);
    tree.file("c/work/sub/z.txt", 5000);
    ProgramFixture w(tree);
    w.open(QStringLiteral("C:\\work"));
    // Runs 1 to 3 are the command's yield, the banner and the drive list;
    // the 4th comes at the first folder below the root, whose files are
    // not read yet.
    w.app.onRun = [&](int run) {
        if (run == 4) w.form->Command5.raiseClick();
    };
    w.behaviour->Command3_Click();
    w.form->sgraph->raiseClick();
    ASSERT_NE(w.app.graph, nullptr);
    const auto graph = w.app.graph->tree();
    EXPECT_TRUE(graph->partial);
    EXPECT_EQ((*graph)[0].bytes, 1200 + 34567);
    EXPECT_TRUE(w.app.graph->title(0).endsWith(shell::kGraphPartial));
    EXPECT_TRUE(w.app.graph->note().contains(shell::kGraphPartial));

    // A whole scan of empty files: equal areas, and a note that says so.
    TempTree empty;
    for (const char* name : {"c/e/1", "c/e/2", "c/e/d/3"}) empty.file(name, 0);
    ProgramFixture e(empty);
    e.open(QStringLiteral("C:\\e"));
    e.behaviour->Command3_Click();
    e.form->sgraph->raiseClick();
    ASSERT_NE(e.app.graph, nullptr);
    EXPECT_FALSE(e.app.graph->tree()->partial);
    EXPECT_EQ(e.app.graph->title(0), shell::kGraphCaption + QStringLiteral(" - C:\\e"));
    EXPECT_EQ(e.app.graph->note(), shell::kGraphAllEmpty);
}

// The graph is made from Side A's rows when 占有グラフ asks for it: each
// file keeps its name and exact size, below the drive's root as below any
// folder; it goes when the rows it was made from go.
TEST(GraphCommand, EachFileKeepsItsNameAndExactSize) {
    TempTree tree;
    tree.file("c/top 名前.txt", 1234);
    tree.file("c/d/big.iso", 5'000'000'000);  // beyond 32 bits, sparse
    tree.file("c/d/e/f/empty");
    ProgramFixture w(tree);
    w.open(QStringLiteral("C:\\"));
    w.form->Command3.raiseClick();
    w.form->sgraph->raiseClick();
    ASSERT_NE(w.app.graph, nullptr);
    const auto graph = w.app.graph->tree();
    std::map<QString, qint64> files;
    for (int i = 0; i < graph->size(); ++i)
        if ((*graph)[i].kind == treemap::Kind::File)
            files[graph->relativePath(i)] = (*graph)[i].bytes;
    const std::map<QString, qint64> expected = {{QStringLiteral("top 名前.txt"), 1234},
                                                {QStringLiteral("d/big.iso"), 5'000'000'000},
                                                {QStringLiteral("d/e/f/empty"), 0}};
    EXPECT_EQ(files, expected);

    // A scan whose graph was never made, then one that could not start: the
    // menu item says to scan first.
    w.form->Command3.raiseClick();
    w.form->state.workFilePath.clear();
    w.form->Command3.raiseClick();
    w.form->sgraph->raiseClick();
    EXPECT_EQ(w.form->Text10.text(), shell::kScanFirst);
}

}  // namespace
