// Scans in the real main window on the offscreen platform.

#include "app/program.h"
#include "platform/dosfs/errors.h"
#include "platform/dosfs/fault_seam.h"
#include "platform/qt/list_view.h"
#include "tests/support/program_fixture.h"

#include <QApplication>
#include <QClipboard>
#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QFontMetrics>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QLabel>
#include <QMouseEvent>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScrollBar>
#include <QTest>
#include <QTimer>
#include <QtMath>

#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>
#include <functional>

namespace {

class WindowScanTest : public ::testing::Test {
  protected:
    void SetUp() override { start(); }
    // Starts the program as its user does: the stored settings applied, the
    // window shown.
    void start() {
        dosfs::DriveTable drives;
        drives.set(u'C', tree.root());
        program = std::make_unique<app::Program>(drives);
        form = &program->form;
        behaviour = &program->behaviour;
        window = &program->window;
        program->load();
        QCoreApplication::processEvents();
    }
    // Makes `folders` depth-1 folders of `files` files each below C:\data.
    void fill(int folders, int files) {
        for (int d = 0; d < folders; ++d)
            for (int f = 0; f < files; ++f)
                tree.file("data/d" + QByteArray::number(d) + "/f" + QByteArray::number(f) + ".txt",
                          100 + f);
    }
    QPushButton* button(const forms::Control& c) {
        return qobject_cast<QPushButton*>(window->widgetOf(c));
    }

    TempTree tree;
    SettingsFolders folders{tree};
    std::unique_ptr<app::Program> program;
    shell::Form1* form = nullptr;
    window::MainWindow* behaviour = nullptr;
    qtbind::FormWindow* window = nullptr;
};

}  // namespace

TEST_F(WindowScanTest, AClickOnTheFirstScanButtonFillsTheListView) {
    fill(20, 150);  // 3000 files
    form->Dir1.setPath(QStringLiteral("C:\\data"));
    QTest::mouseClick(button(form->Command3), Qt::LeftButton);
    auto* view = dynamic_cast<qtbind::ListBoxView*>(window->widgetOf(form->List1));
    const int lines =
        1 + 1 + 1 + 2 + 20 * (1 + 150 + 1) + 1;  // banner, drive, blank, root, folders, total
    EXPECT_EQ(form->List1.listCount(), lines);
    // The view shows appended lines in batches, a few times a second.
    EXPECT_TRUE(QTest::qWaitFor([&] { return view->rowCount() == lines; }, 2000));
    EXPECT_TRUE(form->List1.list(lines - 1).contains(QStringLiteral("Total     3000 Files")));
    EXPECT_EQ(button(form->Command5)->text(), QStringLiteral("終了"));
    EXPECT_TRUE(button(form->Command3)->isEnabled());
    EXPECT_EQ(form->Label5.text(), QStringLiteral("3000"));
}

TEST_F(WindowScanTest, TheStopButtonEndsALongScanEarly) {
    fill(300, 40);  // 12000 files in 300 depth-1 folders
    form->Dir1.setPath(QStringLiteral("C:\\data"));
    // Once lines arrive, the user presses the stop button: real input events,
    // which the window takes at its next poll point.
    QTimer watcher;
    bool pressed = false;
    QObject::connect(&watcher, &QTimer::timeout, [&] {
        if (pressed || form->List1.listCount() < 1000) return;
        pressed = true;
        EXPECT_EQ(button(form->Command5)->text(), QStringLiteral("中断"));
        QWidget* stop = button(form->Command5);
        const QPointF at(stop->rect().center());
        QCoreApplication::postEvent(
            stop, new QMouseEvent(QEvent::MouseButtonPress, at, stop->mapToGlobal(at),
                                  Qt::LeftButton, Qt::LeftButton, Qt::NoModifier));
        QCoreApplication::postEvent(
            stop, new QMouseEvent(QEvent::MouseButtonRelease, at, stop->mapToGlobal(at),
                                  Qt::LeftButton, Qt::NoButton, Qt::NoModifier));
    });
    watcher.start(5);
    QTest::mouseClick(button(form->Command3), Qt::LeftButton);
    watcher.stop();
    ASSERT_TRUE(pressed);
    const int full = 5 + 300 * 42 + 1;
    EXPECT_LT(form->List1.listCount(), full);
    EXPECT_GE(form->List1.listCount(), 1000);
    EXPECT_FALSE(form->List1.list(form->List1.listCount() - 1).contains(QStringLiteral("Total")));
    EXPECT_EQ(button(form->Command5)->text(), QStringLiteral("終了"));
    EXPECT_TRUE(button(form->Command5)->isEnabled());
    EXPECT_EQ(form->Dir1.path(), QStringLiteral("C:\\data"));
    EXPECT_FALSE(program->qt.ended());
}

// The stop button reads 終了 again when a scan ends: a press that began
// while it read 中断 never ends the program, whether its release (mouse,
// Space) or a held key's repeats (Enter) come after the end; a press that
// begins on 終了 does.
TEST_F(WindowScanTest, APressThatBeganOnTheStopButtonNeverEndsTheProgram) {
    fill(100, 40);
    form->Dir1.setPath(QStringLiteral("C:\\data"));
    QWidget* stop = button(form->Command5);
    const QPointF at(stop->rect().center());
    const auto mouse = [&](QEvent::Type type) -> QEvent* {
        return new QMouseEvent(type, at, stop->mapToGlobal(at), Qt::LeftButton,
                               type == QEvent::MouseButtonPress ? Qt::LeftButton : Qt::NoButton,
                               Qt::NoModifier);
    };
    const auto key = [](QEvent::Type type, int k, bool repeat) -> QEvent* {
        return new QKeyEvent(type, k, Qt::NoModifier, QString(), repeat);
    };
    struct Row {
        const char* name;
        std::function<QEvent*()> during, after;
        bool stops;  // the press during the scan stops it
    } rows[] = {
        {"mouse", [&] { return mouse(QEvent::MouseButtonPress); },
         [&] { return mouse(QEvent::MouseButtonRelease); }, false},
        {"Space", [&] { return key(QEvent::KeyPress, Qt::Key_Space, false); },
         [&] { return key(QEvent::KeyRelease, Qt::Key_Space, false); }, false},
        {"held Enter", [&] { return key(QEvent::KeyPress, Qt::Key_Return, false); },
         [&] { return key(QEvent::KeyPress, Qt::Key_Return, true); }, true},
    };
    for (const Row& row : rows) {
        QTimer watcher;
        bool pressed = false;
        QObject::connect(&watcher, &QTimer::timeout, [&] {
            if (pressed || form->List1.listCount() < 500) return;
            pressed = true;
            EXPECT_EQ(button(form->Command5)->text(), QStringLiteral("中断")) << row.name;
            QCoreApplication::postEvent(stop, row.during());
        });
        watcher.start(5);
        QTest::mouseClick(button(form->Command3), Qt::LeftButton);
        watcher.stop();
        ASSERT_TRUE(pressed) << row.name;
        EXPECT_EQ(form->List1.list(form->List1.listCount() - 1).contains(QStringLiteral("Total")),
                  !row.stops)
            << row.name;
        EXPECT_EQ(button(form->Command5)->text(), QStringLiteral("終了")) << row.name;
        QCoreApplication::postEvent(stop, row.after());
        QCoreApplication::processEvents();
        EXPECT_FALSE(program->qt.ended()) << row.name;
    }
    QTest::mouseClick(stop, Qt::LeftButton);
    EXPECT_TRUE(program->qt.ended());
}

// A stop while the first or the last folder is awaited: the listing ends
// there, and the message box says that it stops part-way.
TEST_F(WindowScanTest, AStoppedScanSaysItsListingStopsPartWay) {
    fill(10, 3);
    form->Dir1.setPath(QStringLiteral("C:\\data"));
    for (const char* slow : {"data/d0", "data/d9"}) {
        dosfs::faults::delayFolderReads(tree.path(slow), 3000);
        QElapsedTimer clock;
        QTimer ticker;
        QObject::connect(&ticker, &QTimer::timeout, [&] {
            if (clock.elapsed() < 300 || !button(form->Command5)->isEnabled() ||
                button(form->Command5)->text() != QStringLiteral("中断"))
                return;
            QTest::mouseClick(button(form->Command5), Qt::LeftButton);
        });
        clock.start();
        ticker.start(10);
        QTest::mouseClick(button(form->Command3), Qt::LeftButton);
        ticker.stop();
        dosfs::faults::clearAll();
        QStringList lines;
        for (int i = 0; i < form->List1.listCount(); ++i) lines.append(form->List1.list(i));
        EXPECT_FALSE(lines.last().contains(QStringLiteral("Total"))) << slow;
        const bool last = slow == QByteArray("data/d9");
        EXPECT_FALSE(
            lines.contains(last ? QStringLiteral("C:\\data\\d9") : QStringLiteral("C:\\data\\d0")))
            << slow;
        EXPECT_EQ(lines.contains(QStringLiteral("C:\\data\\d8")), last) << slow;
        EXPECT_TRUE(form->Text10.visible()) << slow;
        EXPECT_EQ(form->Text10.text(), QStringLiteral("中断しました: 一覧は途中までです")) << slow;
        EXPECT_EQ(form->Label5.text(), QString()) << slow;
        EXPECT_FALSE(program->qt.ended());
    }
}

TEST_F(WindowScanTest, OnADeviceThatStopsAnsweringTheWindowRepaintsStopsAndEnds) {
    // Every folder read below C:\data takes 500 ms, and d2's hangs for 8 s
    // like a mount that stopped answering; from the stop on, so does every
    // stat below C:\data, as on a server that has gone away. The bounds below
    // lie far from both the delays and what a busy machine adds, so that only
    // a window that waits on a read fails them.
    for (int d = 0; d < 4; ++d) tree.file("data/d" + QByteArray::number(d) + "/sub/deep/f.txt", 10);
    dosfs::faults::delayFolderReads(tree.path("data/d2"), 8000);
    dosfs::faults::delayFolderReads(tree.path("data") + '/', 500);
    form->Dir1.setPath(QStringLiteral("C:\\data"));
    // A timer of 10 ms shows how long the event loop went without running;
    // once d1 is listed, the scan waits on d2 and the user presses the stop
    // button.
    QElapsedTimer clock;
    qint64 last = 0, longestGap = 0, stoppedAt = -1;
    QTimer ticker;
    QObject::connect(&ticker, &QTimer::timeout, [&] {
        const qint64 now = clock.elapsed();
        longestGap = std::max(longestGap, now - last);
        last = now;
        if (stoppedAt >= 0 || form->List1.listCount() < 3 ||
            !form->List1.list(form->List1.listCount() - 1).contains(u"Files") ||
            !form->List1.list(form->List1.listCount() - 3).contains(u"d1\\sub\\deep"))
            return;
        stoppedAt = now;
        dosfs::faults::hangOperation(dosfs::faults::Op::Stat, tree.path("data"));
        QTest::mouseClick(button(form->Command5), Qt::LeftButton);
    });
    clock.start();
    ticker.start(10);
    QTest::mouseClick(button(form->Command3), Qt::LeftButton);
    const qint64 ended = clock.elapsed();
    ASSERT_GE(stoppedAt, 0);
    EXPECT_LT(ended - stoppedAt, 2000);
    EXPECT_LT(longestGap, 350);
    const QString lastLine = form->List1.list(form->List1.listCount() - 1);
    EXPECT_TRUE(lastLine.contains(QStringLiteral("Files"))) << qPrintable(lastLine);
    EXPECT_FALSE(lastLine.contains(QStringLiteral("Total")));
    EXPECT_EQ(button(form->Command5)->text(), QStringLiteral("終了"));
    EXPECT_TRUE(button(form->Command3)->isEnabled());
    EXPECT_EQ(form->Text10.text(),
              QStringLiteral("中断しました: 一覧は途中までです\r\nﾃﾞｨｽｸ応答なし"));
    // The folder tree waits no more on the drive; the program ends at once.
    clock.restart();
    EXPECT_EQ(form->Dir1.setPath(QStringLiteral("C:\\data\\d1")), dosfs::kNotAnswering);
    window->close();
    EXPECT_LT(clock.elapsed(), 2000);
    ticker.stop();
    EXPECT_TRUE(program->qt.ended());
    dosfs::faults::clearAll();
}

TEST_F(WindowScanTest, AFolderThatAnswersLateIsShownWhenItAnswers) {
    fill(3, 2);
    form->Dir1.setPath(QStringLiteral("C:\\"));
    // A slow server: the folder's lookup answers only after the window has
    // stopped waiting for it.
    dosfs::faults::hangOperation(dosfs::faults::Op::Stat, tree.path("data"));
    QElapsedTimer clock;
    clock.start();
    EXPECT_EQ(form->Dir1.setPath(QStringLiteral("C:\\data")), dosfs::kNotAnswering);
    EXPECT_LT(clock.elapsed(), 500);
    EXPECT_EQ(form->Dir1.path(), QStringLiteral("C:\\data"));
    EXPECT_EQ(form->Dir1.listCount(), 0);
    dosfs::faults::clearAll();
    EXPECT_TRUE(QTest::qWaitFor([&] { return form->Dir1.listCount() == 3; }, 3000));
    EXPECT_EQ(form->File1.path(), QStringLiteral("C:\\data"));
}

TEST_F(WindowScanTest, ARightClickCopiesTheLinesSelectedWithTheMouse) {
    fill(1, 5);
    form->Dir1.setPath(QStringLiteral("C:\\data"));
    QTest::mouseClick(button(form->Command3), Qt::LeftButton);
    auto* view = dynamic_cast<qtbind::ListBoxView*>(window->widgetOf(form->List1));
    ASSERT_TRUE(QTest::qWaitFor([&] { return view->rowCount() == form->List1.listCount(); }));
    window->show();
    const auto at = [&](int row) { return view->rowRect(row).center(); };
    QTest::mouseClick(view->viewport(), Qt::LeftButton, {}, at(4));
    QTest::mouseClick(view->viewport(), Qt::LeftButton, Qt::ShiftModifier, at(6));
    // A right-click on a line outside the selection copies the selection
    // and leaves it as it was, on screen and in the list.
    QTest::mouseClick(view->viewport(), Qt::RightButton, {}, at(9));
    QString expected;
    for (int i = 4; i <= 6; ++i) expected += form->List1.list(i) + QStringLiteral("\r\n");
    EXPECT_EQ(QGuiApplication::clipboard()->text(), expected);
    EXPECT_EQ(form->Text3.text(), QStringLiteral("クリップボードにコピーしました"));
    for (int i = 0; i < 12; ++i) {
        const bool selected = i >= 4 && i <= 6;
        EXPECT_EQ(form->List1.selected(i), selected) << i;
    }
    QTest::mouseClick(view->viewport(), Qt::RightButton, {}, at(9));
    EXPECT_EQ(QGuiApplication::clipboard()->text(), expected);

    // Ctrl+A selects every line, as in any list of several selections.
    view->setFocus();
    QTest::keyClick(view, Qt::Key_A, Qt::ControlModifier);
    for (int i = 0; i < form->List1.listCount(); ++i) EXPECT_TRUE(form->List1.selected(i)) << i;
}

TEST_F(WindowScanTest, HoveringAButtonWithHintsOnShowsItsHint) {
    window->show();
    QTest::mouseClick(button(form->Command9), Qt::LeftButton);
    EXPECT_EQ(button(form->Command9)->text(), QStringLiteral("cmnt OFF"));
    QWidget* target = button(form->Command1);
    const QPointF at(target->rect().center());
    QMouseEvent move(QEvent::MouseMove, at, target->mapToGlobal(at), Qt::NoButton, Qt::NoButton,
                     Qt::NoModifier);
    QCoreApplication::sendEvent(target, &move);
    auto* hint = qobject_cast<QPlainTextEdit*>(window->widgetOf(form->Text11));
    ASSERT_NE(hint, nullptr);
    EXPECT_TRUE(hint->isVisible());
    EXPECT_EQ(hint->toPlainText(), QStringLiteral("ﾌｧｲﾙ名ﾘｽﾄを表示します。"));
}

TEST_F(WindowScanTest, AfterAScanStartedWithEnterTheFocusIsOnItsButton) {
    fill(2, 3);
    form->Dir1.setPath(QStringLiteral("C:\\data"));
    window->show();
    window->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(window));
    for (forms::CommandButton* start : {&form->Command3, &form->Command1, &form->Command6}) {
        button(*start)->setFocus();
        QTest::keyClick(button(*start), Qt::Key_Return);
        EXPECT_EQ(QApplication::focusWidget(), button(*start)) << start->name().toStdString();
        EXPECT_GT(form->List1.listCount(), 2);
    }
    // The next Enter scans again rather than ending the program.
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
    EXPECT_FALSE(program->qt.ended());
}

TEST_F(WindowScanTest, SideAColumnsShowWholeDatesAndTheSameRows) {
    fill(1, 40);
    form->Dir1.setPath(QStringLiteral("C:\\data"));
    window->show();
    form->Command3.raiseClick();
    qtbind::ListBoxView* views[3];
    for (int i = 0; i < 3; ++i) {
        views[i] = dynamic_cast<qtbind::ListBoxView*>(window->widgetOf(*form->List2[i]));
        ASSERT_TRUE(QTest::qWaitFor([&] {
            return views[i]->rowCount() == 40 && views[i]->verticalScrollBar()->isVisible();
        }));
        EXPECT_FALSE(views[i]->horizontalScrollBar()->isVisible()) << i;
        EXPECT_EQ(views[i]->viewport()->height(), views[0]->viewport()->height()) << i;
    }
    // The widest date, two-digit hour and all, fits its column with the
    // item's margin on each side.
    const QString date = QStringLiteral("2026/12/08 14:25:48");
    EXPECT_LE(QFontMetrics(views[2]->font()).horizontalAdvance(date) + 2,
              views[2]->viewport()->width());
}

TEST_F(WindowScanTest, TheCloseBoxSavesTheWindowsGeometry) {
    ASSERT_TRUE(window->isVisible());
    window->resize(window->width() + 100, window->height() + 40);
    QCoreApplication::processEvents();
    window->close();
    EXPECT_TRUE(program->qt.ended());
    QFile f(QString::fromUtf8(tree.path("config/tolan/settings")));
    ASSERT_TRUE(f.open(QIODevice::ReadOnly));
    EXPECT_EQ(f.readAll(), QByteArray("0,0,9645,13545,C:\\,01065,02985,04140,02055,0\r\n\r\n"));
}

// The cases named OnAnyScreen* run on a desk screen and on one of 1600 x
// 1000 pixels at 1, 1.5 and 2: the window opens inside the screen's
// available area, smaller than its design where it must, with its bottom
// row and right column whole and the scan's counter clear of the line
// above it; a scan's listing fills Side B.
TEST_F(WindowScanTest, OnAnyScreenTheWindowOpensInsideTheScreenWithEveryControlWhole) {
    ASSERT_TRUE(QTest::qWaitForWindowExposed(window));
    const QRect area = window->screen()->availableGeometry();
    const double ratio = window->devicePixelRatioF();
    EXPECT_TRUE(area.contains(window->frameGeometry()))
        << "at " << ratio << ": " << window->frameGeometry().width() << "x"
        << window->frameGeometry().height() << " on " << area.width() << "x" << area.height();
    QWidget* client = window->client();
    const forms::Control* whole[] = {&form->Command6, &form->Command3, &form->Command1,
                                     &form->Command4, &form->Command5, &form->Command9,
                                     &form->Label6,   &form->Text2,    &form->Dir1,
                                     &form->File1,    &form->List1,    form->List2[2]};
    for (const forms::Control* c : whole) {
        const QWidget* w = window->widgetOf(*c);
        const QRect r(w->mapTo(client, QPoint()), w->size());
        EXPECT_TRUE(client->rect().contains(r)) << c->name().toStdString() << " at " << ratio;
    }
    tree.file("data/a.txt", 10);
    form->Dir1.setPath(QStringLiteral("C:\\data"));
    QTest::mouseClick(button(form->Command3), Qt::LeftButton);
    EXPECT_TRUE(form->List1.list(form->List1.listCount() - 1).contains(QStringLiteral("Total")));
}

// The cases named Scaled* run at 1, 1.25, 1.5, 1.75 and 2 (CTest runs each
// factor on its own).

// At the scale factor of the run: every control's edges land on device pixels, controls that meet
// in twips meet on screen, and controls apart in twips do not overlap.
TEST_F(WindowScanTest, ScaledLayoutEdgesLandOnDevicePixelsAndNeighboursMeet) {
    const auto whole = [](double v) { return std::abs(v - std::round(v)) < 1e-6; };
    const double ratio = window->devicePixelRatioF();
    struct Placed {
        const forms::Control* control;
        QRect twips;
        QRectF device;
    };
    std::vector<Placed> placed;
    for (const auto& c : form->controls()) {
        QWidget* w = window->widgetOf(*c);
        if (!w || c->kind() == forms::Kind::Line || !c->visible()) continue;
        const QPointF at = w->mapTo(window->client(), QPoint(0, 0));
        const QRectF device(at * ratio, QSizeF(w->size()) * ratio);
        for (double edge : {device.left(), device.top(), device.right(), device.bottom()})
            EXPECT_TRUE(whole(edge)) << c->name().toStdString() << " at " << ratio;
        int left = c->left(), top = c->top();
        for (const forms::Control* in = c->container(); in; in = in->container())
            left += in->left(), top += in->top();
        placed.push_back({c.get(), QRect(left, top, c->width(), c->height()), device});
    }
    for (const Placed& a : placed)
        for (const Placed& b : placed) {
            if (a.control == b.control || a.control->container() != b.control->container())
                continue;
            const std::string pair =
                a.control->name().toStdString() + "/" + b.control->name().toStdString();
            if (a.twips.x() + a.twips.width() == b.twips.x()) {
                EXPECT_DOUBLE_EQ(a.device.right(), b.device.left()) << pair;
            }
            if (a.twips.y() + a.twips.height() == b.twips.y()) {
                EXPECT_DOUBLE_EQ(a.device.bottom(), b.device.top()) << pair;
            }
            if (!a.twips.intersects(b.twips)) {
                EXPECT_FALSE(a.device.intersects(b.device)) << pair << " at " << ratio;
            }
        }
}

namespace {

// Where a label draws its text, in its own pixels: the lines of the text laid
// in its contents rectangle as the label aligns them.
QRect textRectOf(const QLabel& label) {
    return QFontMetrics(label.font())
        .boundingRect(label.contentsRect(), static_cast<int>(label.alignment()), label.text());
}

// What a widget hides of the widgets below it: a label without a background
// only its text, a masked widget its mask, any other its whole box.
QRegion coverOf(const QWidget& w) {
    if (!w.mask().isEmpty()) return w.mask();
    const auto* label = qobject_cast<const QLabel*>(&w);
    if (label && !label->autoFillBackground())
        return label->text().isEmpty() ? QRegion() : QRegion(textRectOf(*label));
    return w.rect();
}

}  // namespace

// At the scale factor of the run, with the counters showing what a scan
// writes: every label's text lies inside its box and its parent, and no
// control drawn above it hides any of it.
TEST_F(WindowScanTest, ScaledLabelsShowTheirWholeText) {
    form->Label5.setText(QStringLiteral("123456"));
    form->Label7.setText(QStringLiteral("0"));
    const double ratio = window->devicePixelRatioF();
    int checked = 0;
    for (const auto& c : form->controls()) {
        auto* label = qobject_cast<QLabel*>(window->widgetOf(*c));
        if (!label || label->text().isEmpty() || !c->visible()) continue;
        ++checked;
        const std::string name = c->name().toStdString();
        const QRect text = textRectOf(*label);
        EXPECT_TRUE(label->rect().contains(text))
            << name << " at " << ratio << ": text " << testing::PrintToString(text) << " in "
            << testing::PrintToString(label->rect());
        QWidget* parent = label->parentWidget();
        const QRect inParent = text.translated(label->pos());
        EXPECT_TRUE(parent->rect().contains(inParent)) << name << " at " << ratio;
        const QObjectList& siblings = parent->children();
        for (qsizetype i = siblings.indexOf(label) + 1; i < siblings.size(); ++i) {
            auto* above = qobject_cast<QWidget*>(siblings[i]);
            if (!above || !above->isVisibleTo(window)) continue;
            EXPECT_FALSE(coverOf(*above).translated(above->pos()).intersects(inParent))
                << name << " under " << above->metaObject()->className() << " "
                << testing::PrintToString(above->geometry()) << " at " << ratio;
        }
    }
    EXPECT_GE(checked, 8);  // the second counter is out of sight
}

// At the scale factor of the run, with the second counter showing "0": the
// bottom separator runs across the counter's box, broken only behind the
// figure.
TEST_F(WindowScanTest, ScaledTheCounterBreaksTheSeparatorOnlyBehindItsFigure) {
    // Out of sight until 検索件数 is double-clicked.
    EXPECT_FALSE(window->widgetOf(form->Label7)->isVisible());
    QTest::mouseDClick(window->widgetOf(form->Label6), Qt::LeftButton);
    ASSERT_TRUE(window->widgetOf(form->Label7)->isVisible());
    form->Label7.setText(QStringLiteral("0"));
    const QImage shot = window->client()->grab().toImage();
    const double ratio = shot.devicePixelRatio();
    const QWidget* line = window->widgetOf(form->Line1_1);
    const QRgb ink = line->palette().color(QPalette::Dark).rgb();
    const QWidget* counter = window->widgetOf(form->Label7);
    const int from = qCeil(counter->x() * ratio), to = qFloor(counter->geometry().right() * ratio);
    // The line's row of device pixels, found just left of the box.
    int row = -1;
    for (int y = qFloor(line->y() * ratio); row < 0 && y < (line->y() + 1) * ratio; ++y)
        if (shot.pixel(from - 2, y) == ink) row = y;
    ASSERT_GE(row, 0) << "at " << ratio;
    int broken = 0;
    for (int x = from; x < to; ++x) broken += shot.pixel(x, row) != ink;
    const int figure = QFontMetrics(counter->font()).horizontalAdvance(u'0') + 2;
    EXPECT_LE(broken, qCeil(figure * ratio)) << "at " << ratio;
}

// At the scale factor of the run: a client a pixel smaller than the form's
// twips put on screen (a window manager's resize steps) keeps every control
// inside it, those at its right and bottom edges too.
TEST_F(WindowScanTest, ScaledControlsStayInsideAClientRoundedDown) {
    ASSERT_TRUE(QTest::qWaitForWindowExposed(window));
    window->resize(window->width() - 1, window->height() - 1);
    QCoreApplication::processEvents();
    const QRect client = window->client()->rect();
    for (const auto& c : form->controls()) {
        const QWidget* w = window->widgetOf(*c);
        // The separators run past the edges by design.
        if (c->container() || c->kind() == forms::Kind::Line || !w || !w->isVisibleTo(window))
            continue;
        EXPECT_TRUE(client.contains(w->geometry()))
            << c->name().toStdString() << " at " << window->devicePixelRatioF();
    }
}

// At the scale factor of the run: the help panel shows all four edges, the
// right and bottom ones as well (a stroked frame lost them at 1.5).
TEST_F(WindowScanTest, ScaledTheHelpPanelDrawsAllFourEdges) {
    QTest::mouseClick(button(form->Command7), Qt::LeftButton);
    QWidget* panel = window->widgetOf(form->Text5);
    ASSERT_TRUE(panel->isVisible());
    // As the window draws it, among the controls around it.
    const QImage shot = window->client()->grab().toImage();
    const double ratio = shot.devicePixelRatio();
    const QRgb paper = panel->palette().color(QPalette::Base).rgb();
    const QRect at(panel->mapTo(window->client(), QPoint()), panel->size());
    const int left = qCeil(at.left() * ratio), top = qCeil(at.top() * ratio);
    const int right = qCeil((at.right() + 1) * ratio) - 1;
    const int bottom = qCeil((at.bottom() + 1) * ratio) - 1;
    const int midX = (left + right) / 2, midY = (top + bottom) / 2;
    // Some ink within the logical pixel at each edge, walking inwards.
    const auto inked = [&](QPoint from, QPoint step) {
        for (int i = 0; i < qCeil(ratio); ++i, from += step)
            if (shot.pixel(from) != paper) return true;
        return false;
    };
    EXPECT_TRUE(inked({left, midY}, {1, 0})) << "left at " << ratio;
    EXPECT_TRUE(inked({midX, top}, {0, 1})) << "top at " << ratio;
    EXPECT_TRUE(inked({right, midY}, {-1, 0})) << "right at " << ratio;
    EXPECT_TRUE(inked({midX, bottom}, {0, -1})) << "bottom at " << ratio;
}

// At the scale factor of the run: the window closed and opened again ten
// times, under a window manager, saves the size it was given each time, to
// the twip, whether it came from the record or from the user's drag.
TEST_F(WindowScanTest, ScaledWindowKeepsItsSizeOverTenCloseAndReopenCycles) {
    const QString path = QString::fromUtf8(tree.path("config/tolan/settings"));
    const auto savedSize = [&] {
        QFile f(path);
        if (!f.open(QIODevice::ReadOnly)) return QSize();
        const QList<QByteArray> fields = f.readLine().split(',');
        return fields.size() < 4 ? QSize() : QSize(fields[3].toInt(), fields[2].toInt());
    };
    // The window manager: it keeps a window to the resize steps Qt asks of
    // it, one logical pixel in whole device pixels (two at 1.5 and 1.75), so
    // the window it gives back may be a device pixel smaller.
    const auto keepToResizeSteps = [&] {
        const double ratio = window->devicePixelRatioF();
        const int step = qRound(ratio);
        const auto down = [&](int pixels) {
            const int device = qRound(pixels * ratio);
            return qRound((device - device % step) / ratio);
        };
        window->resize(down(window->width()), down(window->height()));
        QCoreApplication::processEvents();
    };
    const struct {
        QSize stored;  // width, height in twips
        QSize drag;    // pixels the user adds in the first run
    } rows[] = {
        {{12045, 9045}, {0, 0}},
        {{13001, 10007}, {0, 0}},
        {{12045, 9045}, {101, 41}},
    };
    for (const auto& row : rows) {
        program.reset();
        QFile f(path);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
        f.write(QStringLiteral("0,0,%1,%2,C:\\,01065,02985,04140,02055,0\r\n\r\n")
                    .arg(row.stored.height())
                    .arg(row.stored.width())
                    .toLatin1());
        f.close();
        QSize expected = row.stored;
        for (int cycle = 0; cycle < 10; ++cycle) {
            start();
            ASSERT_TRUE(QTest::qWaitForWindowExposed(window));
            keepToResizeSteps();
            if (cycle == 0 && !row.drag.isEmpty()) {
                // 15 twips a pixel, and the frame around the client area.
                const QSize dragged = window->client()->size() + row.drag;
                expected = QSize(dragged.width() * 15 + 135, dragged.height() * 15 + 690);
                window->resize(window->size() + row.drag);
                QCoreApplication::processEvents();
            }
            window->close();
            ASSERT_TRUE(program->qt.ended());
            EXPECT_EQ(savedSize(), expected)
                << "cycle " << cycle << " at " << window->devicePixelRatioF() << " from "
                << row.stored.width() << "x" << row.stored.height();
        }
    }
}
