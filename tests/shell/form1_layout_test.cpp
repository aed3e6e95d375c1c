#include "shell/form1.h"
#include "tolan/version.h"

#include "tests/support/qt_print.h"
#include "tests/support/test_application.h"

#include <gtest/gtest.h>

using forms::Control;

namespace {

struct Box {
    int left, top, width, height;
    bool operator==(const Box&) const = default;
};

Box boxOf(const Control& c) {
    return {c.left(), c.top(), c.width(), c.height()};
}

void PrintTo(const Box& b, std::ostream* os) {
    *os << "(" << b.left << ", " << b.top << ", " << b.width << ", " << b.height << ")";
}

class Form1Test : public ::testing::Test {
  protected:
    Form1Test() : form(app, fs) { form.startLayout(); }
    TestApplication app;
    dosfs::FileSystem fs;
    shell::Form1 form;
};

}  // namespace

TEST_F(Form1Test, StartsWithTheDesignLayoutCaptionsAndMenu) {
    struct Row {
        const Control* c;
        Box box;
        const char* text;
    };
    const Row rows[] = {
        {&form.Label1, {90, 150, 2040, 495}, "ＴＯＬａｎ"},
        {&form.Text8, {1455, 210, 1395, 330}, "Ver.3 で有効"},
        {&form.Label9, {2115, 315, 780, 255}, TOLAN_VERSION_LABEL},
        {&form.Label3, {2970, 300, 1260, 285}, "出力タイプ"},
        {&form.Combo2, {4155, 270, 1740, 315}, ""},
        {&form.Text11, {5610, 30, 1740, 405}, ""},
        {&form.Label4, {6120, 315, 1245, 240}, "出力拡張子"},
        {&form.Combo1, {7320, 270, 1065, 315}, ""},
        {&form.Label2, {8535, 315, 1545, 285}, "解析ドライブ"},
        {&form.Text1, {9960, 270, 780, 330}, ""},
        {&form.Command7, {11250, 270, 375, 285}, "？"},
        {&form.Label8, {9720, 765, 1905, 240}, "解析対象ﾃﾞｨﾚｸﾄﾘ"},
        {&form.Text2, {9330, 1110, 2550, 720}, ""},
        {&form.Text12, {10005, 1365, 1185, 285}, ""},
        {&form.Drive1, {9330, 1860, 2565, 300}, nullptr},
        {&form.Dir1, {9330, 2160, 2565, 3390}, nullptr},
        {&form.File1, {9330, 5580, 2565, 1890}, nullptr},
        {&form.Frame1, {0, 675, 9285, 2130}, ""},
        {form.Command8[0], {15, 120, 6315, 300}, ""},
        {form.Command8[1], {6330, 135, 1035, 300}, ""},
        {form.Command8[2], {7365, 120, 1905, 300}, ""},
        {form.Text9[0], {165, 180, 5805, 195}, "ファイル名"},
        {form.Text9[1], {6420, 180, 675, 195}, "サイズ"},
        {form.Text9[2], {7455, 180, 1635, 195}, "更新日時"},
        {form.Label10[0], {6210, 135, 285, 330}, ""},
        {form.Label10[1], {7155, 135, 285, 375}, ""},
        {form.List2[0], {0, 405, 7395, 1680}, ""},
        {form.List2[1], {6315, 405, 1755, 1680}, ""},
        {form.List2[2], {7335, 405, 1950, 1680}, ""},
        {&form.Text10, {195, 1470, 2190, 510}, "ファイル保存失敗(保存ﾃﾞｨﾚｸﾄﾘﾁｪｯｸ要)\r\n"},
        {&form.List1, {15, 2895, 9285, 4710}, ""},
        {&form.Text3, {6060, 3045, 2835, 285}, "Text3"},
        {&form.Text5, {2130, 3705, 4935, 2655}, ""},
        {&form.Text4, {3375, 4680, 2010, 570}, "処 理 中"},
        {&form.Label7, {10260, 7725, 1530, 285}, ""},
        {&form.Command3, {1995, 7905, 1155, 375}, "ﾌｧｲﾙ表示１"},
        {&form.Command1, {3345, 7905, 1155, 375}, "ﾌｧｲﾙ表示２"},
        {&form.Command4, {4890, 7905, 1155, 375}, "ﾌｧｲﾙ出力"},
        {&form.Command5, {6945, 7905, 1155, 375}, "終了"},
        {&form.Command6, {165, 7920, 1425, 375}, "ﾌｫｰﾙﾀﾞ容量表示"},
        {&form.Command9, {8355, 7950, 870, 300}, "cmnt ON"},
        {&form.Label6, {9450, 7965, 1440, 240}, "検索件数(ﾌｧｲﾙ数)"},
        {&form.Label5, {11055, 7965, 720, 240}, ""},
    };
    for (const Row& r : rows) {
        EXPECT_EQ(boxOf(*r.c), r.box) << r.c->name().toStdString() << r.c->index();
        if (!r.text) continue;
        EXPECT_EQ(r.c->text(), QString::fromUtf8(r.text)) << r.c->name().toStdString();
    }
    for (const forms::TextBox* hidden : {&form.Text2, &form.Text3, &form.Text4, &form.Text5,
                                         &form.Text8, &form.Text10, &form.Text11, &form.Text12})
        EXPECT_FALSE(hidden->visible()) << hidden->name().toStdString();
    EXPECT_EQ(form.Frame1.container(), nullptr);
    EXPECT_EQ(form.List2[2]->container(), &form.Frame1);
    EXPECT_EQ(form.Line1_1.x1(), -45);
    EXPECT_EQ(form.Line1_1.x2(), 11970);
    EXPECT_EQ(form.Line1_2.y1(), 2835);
    EXPECT_EQ(form.caption(), QStringLiteral("Tolan-ﾌｧｲﾙ表示ﾌﾟﾛｸﾞﾗﾑ"));
    EXPECT_EQ(form.width(), 12045);
    EXPECT_EQ(form.height(), 9045);
    EXPECT_EQ(form.List1.font().name, QStringLiteral("ＭＳ ゴシック"));
    EXPECT_EQ(form.List2[1]->font().name, QStringLiteral("ＭＳ ゴシック"));
    EXPECT_EQ(form.Label1.font().name, QStringLiteral("ＭＳ Ｐゴシック"));

    ASSERT_EQ(form.menus().size(), 1u);
    QStringList captions;
    for (const auto& item : form.OPTION->items())
        captions.append(item->name() + u'=' + item->caption());
    for (const auto& item : form.FILE->items())
        captions.append(item->name() + u'=' + item->caption());
    EXPECT_EQ(
        captions,
        (QStringList{QStringLiteral("FILE=ファイル出力"), QStringLiteral("OUTPUT=プリント出力"),
                     QStringLiteral("sgraph=占有グラフ"),
                     QStringLiteral("KANRI=保存ファイルの管理"), QStringLiteral("JOGAI=除外設定"),
                     QStringLiteral("KOUT=ファイル出力ディレクトリ設定"),
                     QStringLiteral("FR1=FileName+Size+Date"),
                     QStringLiteral("FR0=FileName+Size+Date(Directry分離)"),
                     QStringLiteral("FR2=FileName+Size"), QStringLiteral("FR3=FileName+Date"),
                     QStringLiteral("FR4=FileName")}));
}

TEST_F(Form1Test, SnapsToTheMinimumSize) {
    form.setHeight(7000);
    EXPECT_EQ(form.height(), 7800);
    form.setWidth(9000);
    EXPECT_EQ(form.width(), 12045);
    // Exactly the minimum stays.
    form.setHeight(7800);
    EXPECT_EQ(form.height(), 7800);
    EXPECT_EQ(form.layout.layoutHeight, 7800);
    // The bottom row followed the height: 9045 - 7800 = 1245 higher.
    EXPECT_EQ(form.Command6.top(), 7920 - 1245);
    EXPECT_EQ(form.Line1_1.y2(), 7785 - 1245);
}

TEST_F(Form1Test, WideningMovesTheRightColumnAndWidensTheLeftAreas) {
    form.setWidth(12045 + 1500);
    for (const auto& [c, left] : std::vector<std::pair<const Control*, int>>{
             {&form.Text2, 9330},     {&form.Drive1, 9330},     {&form.Dir1, 9330},
             {&form.File1, 9330},     {&form.Label5, 11055},    {&form.Label6, 9450},
             {&form.Label7, 10260},   {&form.Label8, 9720},     {form.List2[1], 6315},
             {form.List2[2], 7335},   {form.Command8[1], 6330}, {form.Command8[2], 7365},
             {form.Text9[1], 6420},   {form.Text9[2], 7455},    {form.Label10[0], 6210},
             {form.Label10[1], 7155}, {&form.Text3, 6060},      {&form.Text4, 3375},
             {&form.Text10, 195},     {&form.Text11, 5610}})
        EXPECT_EQ(c->left(), left + 1500) << c->name().toStdString();
    for (const auto& [c, width] :
         std::vector<std::pair<const Control*, int>>{{&form.Frame1, 9285},
                                                     {form.List2[0], 7395},
                                                     {form.Command8[0], 6315},
                                                     {form.Text9[0], 5805},
                                                     {&form.List1, 9285}})
        EXPECT_EQ(c->width(), width + 1500) << c->name().toStdString();
    EXPECT_EQ(form.Line1_0.x2(), 11880 + 1500);
    EXPECT_EQ(form.Line1_1.x2(), 11970 + 1500);
    EXPECT_EQ(form.Line1_2.x2(), 9315 + 1500);
    EXPECT_EQ(form.Line1_1.x1(), -45);
    EXPECT_EQ(form.Combo1.left(), 7320);  // the top row stays
    EXPECT_EQ(form.Command5.left(), 6945);
    EXPECT_EQ(form.Text5.left(), 2130);
    EXPECT_EQ(form.layout.heightExtra, 0);
}

TEST_F(Form1Test, GrowingMovesTheBottomRowAndLengthensTheLists) {
    form.setHeight(9045 + 600);
    for (const Control* b :
         {&form.Command1, &form.Command3, &form.Command4, &form.Command5, &form.Command6})
        EXPECT_EQ(b->top(), 7920 + 600) << b->name().toStdString();  // aligned with Command6
    EXPECT_EQ(form.Command9.top(), 7920 + 45 + 600);
    EXPECT_EQ(form.Label5.top(), 7965 + 600);
    EXPECT_EQ(form.Label7.top(), 7725 + 600);
    EXPECT_EQ(form.Line1_1.y1(), 7785 + 600);
    EXPECT_EQ(form.Line1_1.y2(), 7785 + 600);
    EXPECT_EQ(form.List1.height(), 7785 + 600 - 2895 - 15);
    EXPECT_EQ(form.File1.height(), 7785 + 600 - 5580 - 15);
    EXPECT_EQ(form.Frame1.height(), 2130);
    EXPECT_EQ(form.layout.heightExtra, 600);
    EXPECT_EQ(form.List1.width(), 9285);  // width alone unchanged
}

TEST_F(Form1Test, TheFirstDisplayLaysTheDesignSizeOut) {
    form.show();
    for (const Control* b :
         {&form.Command1, &form.Command3, &form.Command4, &form.Command5, &form.Command6})
        EXPECT_EQ(b->top(), 7920) << b->name().toStdString();
    EXPECT_EQ(form.Command9.top(), 7920 + 45);
    EXPECT_EQ(form.List1.height(), 7785 - 2895 - 15);
    EXPECT_EQ(form.File1.height(), 7785 - 5580 - 15);
    // Only the first: shown again, the window keeps what handlers changed.
    form.List1.setHeight(3000);
    form.hide();
    form.show();
    EXPECT_EQ(form.List1.height(), 3000);
}

TEST_F(Form1Test, AnEnlargedSideAGrowsWithTheWindow) {
    form.layout.sideAEnlarged = true;
    form.setHeight(10000);
    const int y = 7785 + (10000 - 9045);
    EXPECT_EQ(form.Frame1.height(), y - 675 - 100);
    for (const forms::ListBox* l : form.List2) EXPECT_EQ(l->height(), y - 405 - 800);
}

TEST_F(Form1Test, DraggedColumnsAreShiftedFromWhereTheUserLeftThem) {
    form.List2[1]->setLeft(5000);
    form.Command8[1]->setLeft(5015);
    form.setWidth(12045 + 300);
    EXPECT_EQ(form.List2[1]->left(), 5300);
    EXPECT_EQ(form.Command8[1]->left(), 5315);
    // The stored geometry holds the positions from before this pass.
    EXPECT_EQ(form.layout.columns.lists.left[1], 5000);
    EXPECT_EQ(form.layout.columns.headers.left[1], 5015);
    EXPECT_EQ(form.layout.columns.captions.width[0], 5805);
}

TEST_F(Form1Test, LargeWindowsAndMinimisedOnes) {
    form.setWidth(40000);  // beyond 16 bits' reach
    EXPECT_EQ(form.List1.width(), 9285 + 40000 - 12045);
    EXPECT_EQ(form.Dir1.left(), 9330 + 40000 - 12045);

    form.stateChangedByUser(forms::WindowState::Minimized);
    form.resizedByUser(2000, 500);  // what a minimised window reports
    EXPECT_EQ(form.List1.width(), 9285 + 40000 - 12045);
    form.stateChangedByUser(forms::WindowState::Normal);
    form.resizedByUser(20000, 9045);
    EXPECT_EQ(form.List1.width(), 9285 + 20000 - 12045);
}
