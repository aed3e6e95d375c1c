// The Qt binding with real widgets on the offscreen platform.

#include "platform/qt/form_window.h"
#include "platform/qt/list_view.h"

#include "platform/qt/qt_application.h"
#include "shell/form1.h"
#include "tests/support/qt_print.h"

#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QMenuBar>
#include <QPushButton>
#include <QScrollBar>
#include <QTest>

#include <gtest/gtest.h>

#include <iterator>

using qtbind::FormWindow;

namespace {

QRect pixels(const forms::Control& c) {
    return {qtbind::toPixels(c.left()), qtbind::toPixels(c.top()), qtbind::toPixels(c.width()),
            qtbind::toPixels(c.height())};
}

class MainWindowTest : public ::testing::Test {
  protected:
    MainWindowTest() : form(app, fs), window(form) {
        form.startLayout();
        form.show();
        QCoreApplication::processEvents();
    }
    qtbind::QtApplication app;
    dosfs::FileSystem fs;
    shell::Form1 form;
    FormWindow window;
};

// A small form with one control of each kind the tests press on.
class SmallForm : public forms::Form {
  public:
    explicit SmallForm(forms::Application& app)
        : Form(app, QStringLiteral("Small")),
          button(add<forms::CommandButton>(QStringLiteral("Command1"))),
          list(add<forms::ListBox>(QStringLiteral("List1"))),
          combo(add<forms::ComboBox>(QStringLiteral("Combo1"))),
          label(add<forms::Label>(QStringLiteral("Label1"))),
          timer(add<forms::Timer>(QStringLiteral("Timer1"))) {
        setWidth(6000);
        setHeight(6000);
        button.setGeometry(150, 150, 1500, 450);
        button.setText(QStringLiteral("押す"));
        list.setGeometry(150, 750, 3000, 3000);
        list.setMultiSelect(true);
        combo.setGeometry(3300, 150, 2000, 330);
        label.setGeometry(3300, 750, 2000, 300);
    }
    forms::CommandButton& button;
    forms::ListBox& list;
    forms::ComboBox& combo;
    forms::Label& label;
    forms::Timer& timer;
};

class SmallFormTest : public ::testing::Test {
  protected:
    SmallFormTest() : form(app), window(form) {
        form.show();
        QCoreApplication::processEvents();
    }
    template <typename T>
    T* widget(const forms::Control& c) {
        return qobject_cast<T*>(window.widgetOf(c));
    }
    qtbind::ListBoxView* listView(const forms::Control& c) {
        return dynamic_cast<qtbind::ListBoxView*>(window.widgetOf(c));
    }
    qtbind::QtApplication app;
    SmallForm form;
    FormWindow window;
};

}  // namespace

TEST_F(MainWindowTest, WidgetsSitAtTheDesignPositionsInTheSubstitutedFonts) {
    for (const auto& c : form.controls()) {
        if (c->kind() == forms::Kind::Timer || c->kind() == forms::Kind::Line) continue;
        QWidget* w = window.widgetOf(*c);
        ASSERT_NE(w, nullptr) << c->name().toStdString();
        EXPECT_EQ(w->geometry(), pixels(*c)) << c->name().toStdString() << c->index();
        EXPECT_EQ(w->parentWidget(),
                  c->container() ? window.widgetOf(*c->container()) : window.client());
    }
    EXPECT_EQ(window.client()->size(), QSize(11910 / 15, 8355 / 15));
    EXPECT_EQ(window.windowTitle(), QStringLiteral("Tolan-ﾌｧｲﾙ表示ﾌﾟﾛｸﾞﾗﾑ"));
    EXPECT_EQ(window.widgetOf(form.List1)->font().family(), QStringLiteral("IPAGothic"));
    EXPECT_EQ(window.widgetOf(form.Label3)->font().family(), QStringLiteral("IPAPGothic"));
    EXPECT_EQ(qobject_cast<QPushButton*>(window.widgetOf(form.Command6))->text(),
              QStringLiteral("ﾌｫｰﾙﾀﾞ容量表示"));
    ASSERT_EQ(window.menuBar()->actions().size(), 1);
    EXPECT_EQ(window.menuBar()->actions()[0]->text(), QStringLiteral("&OPTION"));
}

TEST_F(MainWindowTest, ResizingTheRealWindowRunsTheLayout) {
    const QRect dirBefore = window.widgetOf(form.Dir1)->geometry();
    const QSize client = window.client()->size();
    window.resize(window.width() + 100, window.height() + 40);
    QCoreApplication::processEvents();
    EXPECT_EQ(window.client()->size(), client + QSize(100, 40));
    EXPECT_EQ(form.width(), 12045 + 1500);
    EXPECT_EQ(form.height(), 9045 + 600);
    EXPECT_EQ(window.widgetOf(form.Dir1)->geometry().topLeft(),
              dirBefore.topLeft() + QPoint(100, 0));
    EXPECT_EQ(window.widgetOf(form.List1)->geometry(), pixels(form.List1));
    EXPECT_EQ(window.widgetOf(form.Command5)->y(), qtbind::toPixels(7920 + 600));

    // Too small: the layout puts the minimum back and the window follows.
    window.resize(300, 200);
    QCoreApplication::processEvents();
    EXPECT_EQ(form.width(), 12045);
    EXPECT_EQ(form.height(), 7800);
    EXPECT_EQ(window.client()->size(), QSize(11910 / 15, (7800 - 690) / 15));
}

TEST_F(SmallFormTest, ClicksSelectionsAndRightClicksReachTheModel) {
    int clicks = 0;
    form.button.Click = [&] { ++clicks; };
    QTest::mouseClick(widget<QPushButton>(form.button), Qt::LeftButton);
    EXPECT_EQ(clicks, 1);

    for (int i = 0; i < 50; ++i) form.list.addItem(QStringLiteral("line %1").arg(i));
    auto* view = listView(form.list);
    ASSERT_TRUE(QTest::qWaitFor([&] { return view->rowCount() == 50; }, 2000));
    std::vector<std::tuple<int, int, int, int>> downs;
    form.list.MouseDown = [&](int b, int s, int x, int y) { downs.emplace_back(b, s, x, y); };
    const QRect row3 = view->rowRect(3);
    QTest::mouseClick(view->viewport(), Qt::LeftButton, {}, row3.center());
    EXPECT_TRUE(form.list.selected(3));
    EXPECT_EQ(form.list.listIndex(), 3);
    const QRect row5 = view->rowRect(5);
    QTest::mouseClick(view->viewport(), Qt::LeftButton, Qt::ShiftModifier, row5.center());
    EXPECT_TRUE(form.list.selected(4));
    EXPECT_TRUE(form.list.selected(5));
    QTest::mouseClick(view->viewport(), Qt::RightButton, Qt::ControlModifier, QPoint(10, 20));
    ASSERT_EQ(downs.size(), 3u);
    EXPECT_EQ(downs[1], std::make_tuple(forms::kLeftButton, forms::kShiftMask,
                                        row5.center().x() * 15, row5.center().y() * 15));
    EXPECT_EQ(downs[2], std::make_tuple(forms::kRightButton, forms::kCtrlMask, 150, 300));

    // The model's selection reaches the screen: a selected row is drawn
    // highlighted, the others not.
    form.list.clearSelection();
    form.list.setSelected(7, true);
    const QImage shot = view->viewport()->grab().toImage();
    const auto background = [&](int row) {
        const QPoint p = view->rowRect(row).bottomRight() - QPoint(2, 1);
        return shot.pixelColor(p * shot.devicePixelRatio());
    };
    EXPECT_NE(background(7), background(6));
    EXPECT_EQ(background(6), background(8));
    EXPECT_EQ(background(4), background(6));  // unselected again
}

// Each character takes the cells the listing counts for it, two for a
// double-width character of code page 932 and one for any other, so what
// follows a name stands in the same place whatever the name holds.
TEST_F(SmallFormTest, ListRowsLayTheirTextOnACellGrid) {
    const QString tail = QStringLiteral(" |  12,345  2026/12/08");
    // The first row twice: the row above each compared row is alike.
    const QString names[] = {QStringLiteral("abcd"), QStringLiteral("abcd"), QStringLiteral("漢字"),
                             QStringLiteral("한국ab"), QStringLiteral("😀bc😀"),
                             QStringLiteral("ｱｲｳｴ"), QStringLiteral("a\uF70Ab\uF709"),
                             // Marks, joiners, conjoining jamo and right-to-left
                             // letters, which shaping would merge or reorder.
                             QStringLiteral("ae\u0301b"), QStringLiteral("か\u3099a"),
                             QStringLiteral("a\u200Dbc"), QStringLiteral("\u1100\u1161ab"),
                             QStringLiteral("\u05D0\u05D1cd")};
    const int rows = int(std::size(names));
    form.list.setFont({QStringLiteral("ＭＳ ゴシック"), 9});  // the listings' font
    for (const QString& name : names) form.list.addItem(name + tail);
    auto* view = listView(form.list);
    ASSERT_TRUE(QTest::qWaitFor([&] { return view->rowCount() == rows; }, 2000));
    const QImage shot = view->viewport()->grab().toImage();
    const double ratio = shot.devicePixelRatio();
    const int cell = QFontMetrics(view->font()).horizontalAdvance(u'0');
    // From the sixth cell on (past a space that takes any ink a glyph
    // leaves beyond its cells), every row is drawn alike, pixel for pixel.
    const auto tailOf = [&](int row) {
        const QRect r = view->rowRect(row);
        return shot.copy(
            QRect(QPointF((1 + 5 * cell) * ratio, r.top() * ratio).toPoint(),
                  QSizeF((r.width() - 1 - 5 * cell) * ratio, r.height() * ratio).toSize()));
    };
    const QImage first = tailOf(1);
    for (int row = 2; row < rows; ++row)
        EXPECT_TRUE(tailOf(row) == first) << qPrintable(names[row]);
}

TEST_F(SmallFormTest, TypingAndKeysInADropDownBoxReachTheModel) {
    form.combo.addItem(QStringLiteral("*"));
    form.combo.addItem(QStringLiteral("TXT"));
    QStringList changes;
    std::vector<int> keys;
    form.combo.Change = [&] { changes.append(form.combo.text()); };
    form.combo.KeyDown = [&](int key, int) { keys.push_back(key); };
    auto* edit = widget<QComboBox>(form.combo)->lineEdit();
    QTest::keyClicks(edit, QStringLiteral("do"));
    EXPECT_EQ(form.combo.text(), QStringLiteral("do"));
    EXPECT_EQ(changes, (QStringList{QStringLiteral("d"), QStringLiteral("do")}));
    EXPECT_EQ(keys, (std::vector<int>{68, 79}));  // D, O

    int picks = 0;
    form.combo.Click = [&] { ++picks; };
    widget<QComboBox>(form.combo)->activated(1);
    EXPECT_EQ(form.combo.text(), QStringLiteral("TXT"));
    EXPECT_EQ(picks, 1);
}

TEST_F(SmallFormTest, TimersTickOnRealTime) {
    int ticks = 0;
    form.timer.Tick = [&] { ++ticks; };
    form.timer.setInterval(10);
    form.timer.setTimerEnabled(true);
    QTest::qWait(200);
    EXPECT_GT(ticks, 3);
    form.timer.setTimerEnabled(false);
    const int stopped = ticks;
    QTest::qWait(60);
    EXPECT_EQ(ticks, stopped);
}

TEST_F(SmallFormTest, ModelChangesReachTheWidgets) {
    form.setCaption(QStringLiteral("題名"));
    EXPECT_EQ(window.windowTitle(), QStringLiteral("題名"));
    form.label.setText(QStringLiteral("ラベル"));
    EXPECT_EQ(widget<QLabel>(form.label)->text(), QStringLiteral("ラベル"));
    form.label.setVisible(false);
    EXPECT_FALSE(widget<QLabel>(form.label)->isVisible());
    form.button.setEnabled(false);
    EXPECT_FALSE(widget<QPushButton>(form.button)->isEnabled());
    form.button.setGeometry(300, 450, 3000, 600);
    EXPECT_EQ(widget<QPushButton>(form.button)->geometry(), QRect(20, 30, 200, 40));
    form.label.setForeColor(forms::kPaletteRed);
    EXPECT_EQ(widget<QLabel>(form.label)->palette().color(QPalette::WindowText), QColor(128, 0, 0));

    auto* view = listView(form.list);
    for (int i = 0; i < 1000; ++i) form.list.addItem(QString::number(i));
    EXPECT_EQ(view->rowCount(), 0);  // shown in one batch when events run
    EXPECT_TRUE(QTest::qWaitFor([&] { return view->rowCount() == 1000; }, 2000));
    form.list.setTopIndex(500);
    EXPECT_EQ(view->verticalScrollBar()->value(), 500);
    view->verticalScrollBar()->setValue(20);  // the user scrolls
    EXPECT_EQ(form.list.topIndex(), 20);
    form.list.clear();
    EXPECT_EQ(view->rowCount(), 0);
}
