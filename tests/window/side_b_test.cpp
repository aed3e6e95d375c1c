// Side B: a press in the result listing empties the clipboard; the right
// button copies the first run of selected lines.

#include "tests/support/program_fixture.h"

#include <gtest/gtest.h>

namespace {

class SideBTest : public ::testing::Test {
  protected:
    void SetUp() override {
        w = std::make_unique<ProgramFixture>(tree);
        for (int i = 0; i < 2100; ++i)
            list().addItem(QStringLiteral("line %1  ").arg(i, 4, 10, QLatin1Char('0')));
    }
    forms::ListBox& list() { return w->form->List1; }
    void select(int from, int to) {
        for (int i = from; i <= to; ++i) list().setSelected(i, true);
    }
    QString lines(int from, int to) {
        QString out;
        for (int i = from; i <= to; ++i) out += list().list(i) + QStringLiteral("\r\n");
        return out;
    }
    void rightClick() {
        w->app.clipboard = QStringLiteral("before");
        list().raiseMouseDown(forms::kRightButton, 0, 0, 0);
    }

    TempTree tree;
    std::unique_ptr<ProgramFixture> w;
};

}  // namespace

TEST_F(SideBTest, TheRightButtonCopiesTheFirstSelectedRun) {
    const struct {
        std::vector<std::pair<int, int>> runs;
        int from, to;  // the lines expected on the clipboard
    } cases[] = {
        {{{5, 9}}, 5, 9},
        {{{2, 3}, {7, 8}}, 2, 3},
        {{{0, 1999}}, 0, 1999},  // exactly 2000
        {{}, 1, 0},              // nothing selected: an empty text
    };
    for (const auto& c : cases) {
        list().clearSelection();
        for (const auto& [from, to] : c.runs) select(from, to);
        rightClick();
        EXPECT_EQ(w->app.clipboard, lines(c.from, c.to));
        EXPECT_TRUE(w->form->Text3.visible());
        EXPECT_EQ(w->form->Text3.text(), QStringLiteral("クリップボードにコピーしました"));
        EXPECT_EQ(w->form->Text3.left(), 6060);
        EXPECT_TRUE(w->form->Timer1.timerEnabled());
        EXPECT_FALSE(w->form->Text10.visible());
    }
    forms::advanceTimers(*w->form, 12000);
    EXPECT_FALSE(w->form->Text3.visible());
}

TEST_F(SideBTest, MoreThanTwoThousandLinesAreRefused) {
    QString shownWhileCopying;
    w->app.onRun = [&](int) { shownWhileCopying = w->form->Text3.text(); };
    select(10, 2010);
    rightClick();
    EXPECT_EQ(shownWhileCopying, QStringLiteral("クリップボードにコピー中"));
    EXPECT_EQ(w->app.clipboard, QString());
    EXPECT_FALSE(w->form->Text3.visible());
    const forms::TextBox& box = w->form->Text10;
    EXPECT_TRUE(box.visible());
    EXPECT_EQ(box.text(),
              QStringLiteral("データが多すぎます。ファイル出力コマンドで処理して下さい"));
    EXPECT_EQ(box.top(), 3180);
    EXPECT_EQ(box.width(), 4110);
    EXPECT_EQ(box.height(), 525);
}

TEST_F(SideBTest, TheLeftButtonEmptiesTheClipboardAndTheDateColumnSelection) {
    w->form->List2[2]->addItem(QStringLiteral("2024/01/05"));
    w->form->List2[2]->setSelected(0, true);
    w->app.clipboard = QStringLiteral("before");
    list().raiseMouseDown(forms::kLeftButton, 0, 0, 0);
    EXPECT_EQ(w->app.clipboard, QString());
    EXPECT_FALSE(w->form->List2[2]->anySelected());
    EXPECT_FALSE(w->form->Text3.visible());
}
