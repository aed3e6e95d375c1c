// The Side A browser on the main window's model.

#include "tests/support/program_fixture.h"

#include <gtest/gtest.h>

namespace {

class SideATest : public ::testing::Test {
  protected:
    void SetUp() override {
        for (int i = 0; i < 100; ++i) tree.file("c/many/f" + QByteArray::number(i) + ".txt", i);
        tree.folder("c/many/inner");
        w = std::make_unique<ProgramFixture>(tree);
    }
    shell::Form1& f() { return *w->form; }
    window::MainWindow& mw() { return *w->behaviour; }
    TempTree tree;
    std::unique_ptr<ProgramFixture> w;
};

}  // namespace

TEST_F(SideATest, ADriveWithoutADiskSaysSoAndTheChooserGoesBack) {
    const QString before = f().Drive1.drive();
    f().Drive1.setDrive(QStringLiteral("q:"));
    EXPECT_TRUE(f().Text12.visible());
    EXPECT_EQ(f().Text12.text(), QStringLiteral("ディスクなし"));
    EXPECT_EQ(f().Text12.foreColor(), forms::kPaletteRed);
    EXPECT_EQ(f().Text12.left(), f().Text2.left() + 665);
    EXPECT_EQ(f().Text12.top(), f().Text2.top() + 255);
    EXPECT_EQ(f().Drive1.drive(), before);
    EXPECT_EQ(f().state.scanRoot, before);
    EXPECT_EQ(f().Text1.text(), QStringLiteral("C:\\"));
    forms::advanceTimers(f(), 5990);
    EXPECT_TRUE(f().Text12.visible());
    forms::advanceTimers(f(), 10);
    EXPECT_FALSE(f().Text12.visible());

    // A drive that is there opens at its current folder.
    f().Drive1.setDrive(QStringLiteral("d:"));
    EXPECT_EQ(f().Dir1.path(), QStringLiteral("D:\\"));
    EXPECT_EQ(f().Text1.text(), QStringLiteral("D:\\"));
    EXPECT_EQ(f().File1.path(), QStringLiteral("D:\\"));
    EXPECT_EQ(f().state.browsePath, QStringLiteral("D:\\"));
}

TEST_F(SideATest, ASingleClickInTheTreeOpensTheFolder) {
    w->open(QStringLiteral("C:\\"));
    const int many = [&] {
        for (int i = 0; i < f().Dir1.listCount(); ++i)
            if (f().Dir1.list(i).endsWith(QStringLiteral("many"))) return i;
        return -1;
    }();
    ASSERT_GE(many, 0);
    f().Text12.setVisible(true);
    f().Dir1.setListIndexFromUser(many);
    f().Dir1.raiseClick();
    EXPECT_EQ(f().Dir1.path(), QStringLiteral("C:\\many"));
    EXPECT_EQ(f().Text2.text(), QStringLiteral("C:\\many"));
    EXPECT_EQ(f().File1.path(), QStringLiteral("C:\\many"));
    EXPECT_EQ(f().File1.listCount(), 100);
    EXPECT_EQ(f().state.browsePath, QStringLiteral("C:\\many"));
    EXPECT_FALSE(f().Text12.visible());
    // The parent entry (-2) goes back up.
    f().Dir1.setListIndexFromUser(-2);
    f().Dir1.raiseClick();
    EXPECT_EQ(f().Dir1.path(), QStringLiteral("C:\\"));
}

TEST_F(SideATest, TheDateColumnLeadsTheScrollWithin30ms) {
    w->open(QStringLiteral("C:\\many"));
    mw().Command1_Click();
    ASSERT_EQ(f().List2[2]->listCount(), 100);
    f().List2[2]->setTopIndexFromUser(40);
    mw().List2_MouseMove(2);
    EXPECT_EQ(f().List2[0]->topIndex(), 40);
    EXPECT_TRUE(f().Timer3.timerEnabled());
    f().List2[2]->setTopIndexFromUser(55);
    f().List2[0]->setTopIndexFromUser(3);  // the name column scrolled alone
    forms::advanceTimers(f(), 30);
    EXPECT_EQ(f().List2[0]->topIndex(), 55);
    EXPECT_EQ(f().List2[1]->topIndex(), 55);
    // A key in a column brings the others to its row; a click in Side B stops the sync.
    f().List2[0]->setTopIndexFromUser(10);
    mw().List2_KeyDown(0);
    EXPECT_EQ(f().List2[2]->topIndex(), 10);
    mw().List1_MouseDown(forms::kLeftButton);
    EXPECT_FALSE(f().Timer3.timerEnabled());
    // A scan stops it too.
    mw().List2_Click(2);
    EXPECT_TRUE(f().Timer3.timerEnabled());
    mw().Command1_Click();
    EXPECT_FALSE(f().Timer3.timerEnabled());
}

TEST_F(SideATest, SplittersMoveTheColumnsWithinTheirLimits) {
    shell::Form1& g = f();
    // Splitter 0 to the right by 600: the name column widens, the date column narrows.
    mw().Label10_MouseDown(0, 100, 50);
    mw().Label10_MouseMove(0, 700, 50);
    EXPECT_EQ(g.Label10[0]->mousePointer(), forms::MousePointer::SizeWE);
    EXPECT_EQ(g.Command8[0]->width(), 6315 + 600);
    EXPECT_EQ(g.List2[0]->width(), 7395 + 600);
    EXPECT_EQ(g.Text9[0]->width(), 5805 + 600);
    EXPECT_EQ(g.List2[1]->left(), 6315 + 600);
    EXPECT_EQ(g.List2[1]->width(), 1755);
    EXPECT_EQ(g.List2[2]->left(), 7335 + 600);
    EXPECT_EQ(g.List2[2]->width(), 1950 - 600);
    EXPECT_EQ(g.List2[2]->left() + g.List2[2]->width(), 7335 + 1950);  // right edge stays
    EXPECT_EQ(g.Label10[0]->left(), 6330 - 105);  // the splitters stay during the drag
    // Beyond the date column's limit (W - 285 = 9000): the last good layout stays.
    mw().Label10_MouseMove(0, 100 + 1700, 50);
    EXPECT_EQ(g.List2[2]->left(), 7335 + 600);
    mw().Label10_MouseUp(0);
    EXPECT_EQ(g.layout.columns.headers.width[0], 6315 + 600);
    EXPECT_EQ(g.Label10[0]->left(), 6330 + 600 - 105);
    EXPECT_EQ(g.Label10[1]->left(), 7365 + 600 - 105);

    // Splitter 1: not closer than 400 to the size column's start.
    mw().Label10_MouseDown(1, 0, 0);
    mw().Label10_MouseMove(1, -700, 0);  // c2x - 700 < c1x + 400
    EXPECT_EQ(g.Command8[2]->left(), 7365 + 600);
    mw().Label10_MouseMove(1, -500, 0);
    EXPECT_EQ(g.Command8[2]->left(), 7365 + 100);
    EXPECT_EQ(g.Command8[1]->width(), 1035 - 500);
    EXPECT_EQ(g.Command8[0]->width(), 6315 + 600);  // splitter 1 leaves the name column
    // The name-column limit holds for splitter 1 too: 6915 + dx < 200 moves nothing.
    mw().Label10_MouseMove(1, -6800, 0);
    EXPECT_EQ(g.Command8[2]->left(), 7365 + 100);
    mw().Label10_MouseUp(1);
    // Without a button down a move only sets the pointer.
    mw().Label10_MouseMove(1, 300, 0);
    EXPECT_EQ(g.Command8[2]->left(), 7365 + 100);
}
