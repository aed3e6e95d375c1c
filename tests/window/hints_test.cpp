// Hover hints, the comment switch, the help panel and the boxes that hide
// themselves, on the main window's model with a manual clock.

#include "tests/support/program_fixture.h"

#include <gtest/gtest.h>

namespace {

class HintsTest : public ::testing::Test {
  protected:
    void SetUp() override { w = std::make_unique<ProgramFixture>(tree); }
    shell::Form1& f() { return *w->form; }
    void hover(forms::Control& c) { c.raiseMouseMove(0, 0, 0, 0); }
    void expectHint(int top, int left, int height, const QString& text) {
        EXPECT_TRUE(f().Text11.visible()) << text.toStdString();
        EXPECT_EQ(f().Text11.text(), text);
        EXPECT_EQ(f().Text11.top(), top);
        EXPECT_EQ(f().Text11.left(), left);
        EXPECT_EQ(f().Text11.height(), height);
        EXPECT_EQ(f().Text11.width(), 1740);
        EXPECT_TRUE(f().Timer4.timerEnabled());
    }
    void hideHint() { f().MouseMove(0, 0, 0, 0); }

    TempTree tree;
    std::unique_ptr<ProgramFixture> w;
};

}  // namespace

TEST_F(HintsTest, OnlyTheSwitchHasAHintUntilHintsAreSwitchedOn) {
    forms::Control* quiet[] = {&f().Command1, &f().Command3, &f().Command4, &f().Command6,
                               &f().Label4,   &f().List1,    f().List2[0]};
    for (forms::Control* c : quiet) {
        hover(*c);
        EXPECT_FALSE(f().Text11.visible()) << c->name().toStdString();
    }
    hover(f().Command9);
    expectHint(7140, 7380, 405, QStringLiteral("コメント表示 ON/OFF の切り替え。現在OFF"));

    f().Command9.raiseClick();
    EXPECT_EQ(f().Command9.text(), QStringLiteral("cmnt OFF"));
    hover(f().Command9);
    EXPECT_EQ(f().Text11.text(), QStringLiteral("コメント表示 ON/OFF の切り替え。現在ON"));
    const struct {
        forms::Control* control;
        int top, left, height;
        const char* text;
    } hints[] = {
        {&f().Command1, 7140, 3570, 405, "ﾌｧｲﾙ名ﾘｽﾄを表示します。"},
        {&f().Command3, 6960, 2310, 585,
         "ﾌｧｲﾙ名ﾘｽﾄの他、各フォルダ毎の合計容量やﾌｧｲﾙ数も表示します。"},
        {&f().Command6, 6960, 585, 585, "ﾌｫﾙﾀﾞ名とその中のﾌｧｲﾙ数と容量を表示します(拡張子指定可)"},
        {&f().Command4, 6960, 5190, 585, "下画面に表示されている結果をファイル名指定で保存します"},
        {&f().Label4, 30, 5550, 200, "直接入力可能です。"},
        {f().List2[1], 1200, 5550, 585, "ダブルクリックすると画面が広がります。<ON/OFF>"},
        {&f().List1, 3435, 7140, 585,
         "範囲指定後、右マウスクリックでクリックボードにコピーされます。"},
    };
    for (const auto& h : hints) {
        hideHint();
        hover(*h.control);
        expectHint(h.top, h.left, h.height, QString::fromUtf8(h.text));
    }

    f().Command9.raiseClick();
    EXPECT_EQ(f().Command9.text(), QStringLiteral("cmnt ON "));
    hideHint();
    hover(f().Command3);
    EXPECT_FALSE(f().Text11.visible());
}

TEST_F(HintsTest, TheSideBHintShowsOncePerVisitFromSideA) {
    f().Command9.raiseClick();
    const auto sideBShown = [&] {
        hideHint();
        hover(f().List1);
        return f().Text11.visible();
    };
    EXPECT_TRUE(sideBShown());
    EXPECT_FALSE(sideBShown());
    hover(*f().List2[2]);
    EXPECT_TRUE(sideBShown());
    f().Command7.raiseClick();  // the help button keeps it away too
    EXPECT_FALSE(sideBShown());
    hover(*f().List2[0]);
    EXPECT_TRUE(sideBShown());
}

TEST_F(HintsTest, ButtonHintsFollowATallerWindowAndHideAfterSixSeconds) {
    f().setHeight(9045 + 1000);
    f().Command9.raiseClick();
    hover(f().Command3);
    EXPECT_EQ(f().Text11.top(), 7960);
    forms::advanceTimers(f(), 5999);
    EXPECT_TRUE(f().Text11.visible());
    forms::advanceTimers(f(), 1);
    EXPECT_FALSE(f().Text11.visible());
    EXPECT_FALSE(f().Timer4.timerEnabled());

    hover(f().Command1);
    hideHint();  // the window's background
    EXPECT_FALSE(f().Text11.visible());
}

TEST_F(HintsTest, TheHelpPanelOpensAndCloses) {
    EXPECT_FALSE(f().Text5.visible());
    f().Command7.raiseClick();
    EXPECT_TRUE(f().Text5.visible());
    f().Text5.raiseClick();
    EXPECT_FALSE(f().Text5.visible());
    f().Command7.raiseClick();
    f().Command7.raiseClick();
    EXPECT_FALSE(f().Text5.visible());

    const QString text = f().Text5.text();
    const QStringList lines = text.split(QStringLiteral("\r\n"));
    ASSERT_EQ(lines.size(), 16);  // fifteen lines, each ended by CR LF
    EXPECT_EQ(lines[1], QStringLiteral("   クリックすると表示領域が拡大される。　　　　"));
    EXPECT_EQ(lines[2], QStringLiteral("　　　（切替え：トグル）"));
    EXPECT_EQ(lines[12], QStringLiteral("   ( C:\\Tolan.txt  or  A:\\Tolan.tx ) "));
    EXPECT_EQ(lines[14], QStringLiteral("         "));
    EXPECT_EQ(lines[15], QString());
    EXPECT_EQ(text.count(u'\x3000'), 10);  // the full-width blanks of lines 2, 3, 6, 7 and 9

    // Moving over the panel hands its hiding to Timer2.
    f().Command7.raiseClick();
    f().Timer1.setTimerEnabled(true);
    f().Text5.raiseMouseMove(0, 0, 0, 0);
    EXPECT_FALSE(f().Timer1.timerEnabled());
    EXPECT_TRUE(f().Timer2.timerEnabled());
}

TEST_F(HintsTest, MessageBoxesHideWhenTouchedAndByTheirTimers) {
    forms::TextBox* boxes[] = {&f().Text3, &f().Text8, &f().Text10, &f().Text11, &f().Text12};
    for (forms::TextBox* b : boxes) b->setVisible(true);
    f().Text3.raiseMouseDown(1, 0, 0, 0);
    f().Timer1.setTimerEnabled(true);
    f().Text8.raiseMouseDown(1, 0, 0, 0);
    EXPECT_FALSE(f().Timer1.timerEnabled());
    f().Text10.raiseMouseDown(1, 0, 0, 0);
    f().Text11.raiseClick();
    f().Text12.raiseMouseMove(0, 0, 0, 0);
    for (forms::TextBox* b : boxes) EXPECT_FALSE(b->visible()) << b->name().toStdString();

    // Timer1 hides Text3 and Text8; Timer2, running from start-up, also
    // Text10, once.
    for (forms::TextBox* b : boxes) b->setVisible(true);
    f().Timer1.setTimerEnabled(true);
    forms::advanceTimers(f(), 12000);
    EXPECT_FALSE(f().Text3.visible());
    EXPECT_FALSE(f().Text8.visible());
    EXPECT_TRUE(f().Text10.visible());
    forms::advanceTimers(f(), 3000);
    EXPECT_FALSE(f().Text10.visible());
    EXPECT_FALSE(f().Timer2.timerEnabled());

    f().Label7.setVisible(true);
    f().Label6.raiseDblClick();
    EXPECT_FALSE(f().Label7.visible());
    f().Label6.raiseDblClick();
    EXPECT_TRUE(f().Label7.visible());
}
