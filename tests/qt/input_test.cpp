// What the user does to the real windows, sent to the widget they touch
// (or its viewport) as QTest mouse and key events, and what the window does
// in turn: one table, each row on a program of its own.

#include "app/program.h"
#include "output/listing_pages.h"
#include "platform/dosfs/file_system.h"
#include "platform/qt/list_view.h"
#include "platform/qt/page_view.h"
#include "platform/qt/print_preview.h"
#include "tests/support/program_fixture.h"

#include <QAbstractButton>
#include <QApplication>
#include <QClipboard>
#include <QDialog>
#include <QFile>
#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <QMenuBar>
#include <QPointer>
#include <QPrinter>
#include <QScrollBar>
#include <QTest>
#include <QWheelEvent>

#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <vector>

namespace {

class InputTest;

enum class Gesture { Click, DoubleClick, RightClick, Wheel, Drag, Keys };

// Where the user acts: a widget and a point in it (its centre by default),
// and for a drag how far, for the wheel its angle.
struct Target {
    QWidget* widget;
    QPoint at{-1, -1};
    QPoint by{};
};

// What the user does there. Keys: each goes to whatever has the focus then
// (a menu that is open first); the target takes the focus before the first.
struct Act {
    Gesture gesture;
    std::vector<QKeyCombination> keys = {};
};

struct Input {
    const char* name;
    // The settings record the program starts with; none: the design size.
    const char* settings;
    // How the window stands before the user acts (nothing when empty).
    std::function<void(InputTest&)> before;
    std::function<Target(InputTest&)> target;
    Act act;
    std::function<void(InputTest&)> then;
};

class InputTest : public ::testing::TestWithParam<Input> {
  protected:
    void SetUp() override {
        window->activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(window));
    }

  private:
    // C:\data holds three folders of a file each, C:\many 60 files.
    std::unique_ptr<app::Program> start() {
        for (const char* name : {"d0", "d1", "d2"})
            tree.file(QByteArray("c/data/") + name + "/f.txt", 10);
        for (int i = 0; i < 60; ++i) tree.file("c/many/f" + QByteArray::number(i) + ".txt", i);
        if (GetParam().settings) {
            tree.folder("config/tolan");
            QFile record(QString::fromUtf8(tree.path("config/tolan/settings")));
            EXPECT_TRUE(record.open(QIODevice::WriteOnly));
            record.write(GetParam().settings);
        }
        auto p = std::make_unique<app::Program>(testDrives(tree));
        p->load();
        return p;
    }

  public:
    // Side A and Side B filled from C:\many, Side A opened at `folder`.
    void scan(const QString& folder = QStringLiteral("C:\\many")) {
        f.Dir1.setPath(QStringLiteral("C:\\many"));
        f.Command3.raiseClick();
        f.Dir1.setPath(folder);
        QCoreApplication::processEvents();
    }
    qtbind::FormWindow* view(const forms::Form& form) {
        if (&form == &f) return window;
        return static_cast<qtbind::FormWindow*>(program->qt.viewOf(form));
    }
    QWidget* widget(const forms::Control& c) { return view(c.form())->widgetOf(c); }
    qtbind::ListBoxView* list(const forms::Control& c) {
        return dynamic_cast<qtbind::ListBoxView*>(widget(c));
    }
    QListWidget* folderList(const forms::Control& c) {
        return qobject_cast<QListWidget*>(widget(c));
    }
    Target row(const forms::Control& c, int r) {
        qtbind::ListBoxView* v = list(c);
        EXPECT_TRUE(QTest::qWaitFor([&] { return v->rowCount() > r; }));
        return {v->viewport(), v->rowRect(r).center()};
    }
    // The control whose widget (or a child of it) has the focus.
    const forms::Control* focused() {
        for (QWidget* w = QApplication::focusWidget(); w; w = w->parentWidget())
            for (const forms::Form* form : std::initializer_list<const forms::Form*>{
                     &f, &menu.form2, &menu.form3, &menu.form3.chooser})
                for (const auto& c : form->controls())
                    if (view(*form) && view(*form)->widgetOf(*c) == w) return c.get();
        return nullptr;
    }
    // The control that takes the focus when its window is active again.
    const forms::Control* focusOf(const forms::Form& form) {
        QWidget* w = view(form)->focusWidget();
        for (const auto& c : form.controls())
            if (view(form)->widgetOf(*c) == w) return c.get();
        return nullptr;
    }
    QMenu* optionMenu() { return window->menuBar()->actions().value(0)->menu(); }
    QImage picture(const forms::Control& c) { return widget(c)->grab().toImage(); }

    void perform(const Input& in) {
        const Target t = in.target(*this);
        ASSERT_NE(t.widget, nullptr);
        const QPoint at = t.at.x() < 0 ? t.widget->rect().center() : t.at;
        QWidget* w = t.widget;
        switch (in.act.gesture) {
            case Gesture::Click:
                QTest::mouseClick(w, Qt::LeftButton, {}, at);
                break;
            case Gesture::RightClick:
                QTest::mouseClick(w, Qt::RightButton, {}, at);
                break;
            case Gesture::DoubleClick:
                // As the platform sends it: press, release, press, double-click, release.
                QTest::mouseClick(w, Qt::LeftButton, {}, at);
                QTest::mousePress(w, Qt::LeftButton, {}, at);
                QTest::mouseDClick(w, Qt::LeftButton, {}, at);
                QTest::mouseRelease(w, Qt::LeftButton, {}, at);
                break;
            case Gesture::Wheel: {
                QWheelEvent wheel(at, w->mapToGlobal(at), {}, t.by, Qt::NoButton, {},
                                  Qt::NoScrollPhase, false);
                QApplication::sendEvent(w, &wheel);
                break;
            }
            case Gesture::Drag:
                QTest::mousePress(w, Qt::LeftButton, {}, at);
                for (int step = 1; step <= 4; ++step) QTest::mouseMove(w, at + t.by * step / 4);
                QTest::mouseRelease(w, Qt::LeftButton, {}, at + t.by);
                break;
            case Gesture::Keys:
                w->setFocus(Qt::OtherFocusReason);
                for (const QKeyCombination key : in.act.keys) {
                    QWidget* to = QApplication::activePopupWidget();
                    if (!to) to = QApplication::focusWidget();
                    ASSERT_NE(to, nullptr);
                    QTest::keyClick(to, key.key(), key.keyboardModifiers());
                    QCoreApplication::processEvents();
                    trail.push_back(focused());
                    widgetTrail.push_back(QApplication::focusWidget());
                }
                break;
        }
        QCoreApplication::processEvents();
    }

    TempTree tree;
    SettingsFolders folders{tree};
    std::unique_ptr<app::Program> program = start();
    shell::Form1& f = program->form;
    qtbind::FormWindow* window = &program->window;
    output::OutputCommands& menu = program->output;
    // The control with the focus after each key.
    std::vector<const forms::Control*> trail;
    std::vector<QPointer<QWidget>> widgetTrail;  // the same, as widgets
    // The print preview of Side B's lines, opened as プリント出力 opens it.
    void openPrintPreview() {
        const engine::Module1& scan = program->behaviour.scan;
        pages =
            std::make_unique<output::ListingPages>(f.List1, scan.settings.scanRoot, scan.scanTime);
        qtbind::preparePrinter(printer, *pages);
        preview = std::make_unique<qtbind::PrintPreview>(printer, *pages, window);
        preview->dialog().show();
        preview->dialog().activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(&preview->dialog()));
    }
    QPrinter printer{QPrinter::HighResolution};
    std::unique_ptr<output::ListingPages> pages;
    std::unique_ptr<qtbind::PrintPreview> preview;
    QImage shot;   // a picture taken before the user acts
    QString kept;  // a text the user's keys leave as it was
};

// The settings of a window 1500 twips wider than the design.
const char* const kWiderStart = "0,0,9045,13545,C:\\,01065,02985,04140,02055,0\r\n";

// Side A's three columns stay side by side, the date column ending where
// Side A ends, whatever the window's size.
void expectColumnsFill(InputTest& t) {
    const shell::Form1& f = t.f;
    const int W = f.Frame1.width();
    EXPECT_EQ(f.List2[2]->left() + f.List2[2]->width(), W);
    EXPECT_EQ(f.Command8[2]->left() + f.Command8[2]->width(), W - 15);
    for (int i = 1; i < 3; ++i) {
        EXPECT_LE(f.List2[i - 1]->left(), f.List2[i]->left()) << i;
        EXPECT_GT(f.List2[i]->width(), 300) << i;
    }
    EXPECT_EQ(t.widget(*f.List2[2])->geometry().right() + 1, t.widget(f.Frame1)->width());
}

std::string nameOf(const forms::Control* c) {
    return c ? " " + c->name().toStdString() + "(" + std::to_string(c->index()) + ")" : " none";
}

Target splitter(InputTest& t, int k, int dx) {
    return {t.widget(*t.f.Label10[k]), {-1, -1}, {dx, 0}};
}

// Lines 2 to 4 of Side B selected, a key pressed there: they are on the
// clipboard as the right button puts them.
Input copyKey(const char* name, QKeyCombination key) {
    return {name,
            nullptr,
            [](InputTest& t) {
                t.scan();
                for (int i = 2; i <= 4; ++i) t.f.List1.setSelected(i, true);
                QGuiApplication::clipboard()->setText(QStringLiteral("before"));
            },
            [](InputTest& t) { return Target{t.widget(t.f.List1)}; },
            {Gesture::Keys, {key}},
            [](InputTest& t) {
                QString lines;
                for (int i = 2; i <= 4; ++i) lines += t.f.List1.list(i) + QStringLiteral("\r\n");
                EXPECT_EQ(QGuiApplication::clipboard()->text(), lines);
                EXPECT_EQ(t.f.Text3.text(), QStringLiteral("クリップボードにコピーしました"));
                EXPECT_TRUE(t.f.List1.selected(2) && t.f.List1.selected(4));
            }};
}

// What has the focus, as the tests name it: a tool by its text.
QString nameOfFocus(QWidget* w) {
    if (auto* tool = qobject_cast<QAbstractButton*>(w)) return tool->text();
    if (qobject_cast<QLineEdit*>(w)) return QStringLiteral("page number");
    return dynamic_cast<qtbind::PageView*>(w) ? QStringLiteral("page") : QStringLiteral("other");
}

const Input kInputs[] = {
    // ---- Mouse
    {"DoubleClickInASideAColumnEnlargesSideA",
     nullptr,
     [](InputTest& t) { t.scan(); },
     [](InputTest& t) { return t.row(*t.f.List2[1], 0); },
     {Gesture::DoubleClick},
     [](InputTest& t) {
         const shell::Form1& f = t.f;
         EXPECT_TRUE(f.layout.sideAEnlarged);
         EXPECT_FALSE(t.widget(f.List1)->isVisible());
         EXPECT_FALSE(f.Line1_2.visible());
         EXPECT_EQ(f.Frame1.height(), f.Line1_1.y1() - 800);
         for (const forms::ListBox* l : f.List2) EXPECT_EQ(l->height(), f.Frame1.height() - 450);
         EXPECT_TRUE(f.Timer3.timerEnabled());
     }},
    {"ASecondDoubleClickInAnotherColumnGivesSideBBack",
     nullptr,
     [](InputTest& t) {
         t.scan();
         t.f.List2[1]->raiseDblClick();
     },
     [](InputTest& t) { return t.row(*t.f.List2[0], 0); },
     {Gesture::DoubleClick},
     [](InputTest& t) {
         EXPECT_FALSE(t.f.layout.sideAEnlarged);
         EXPECT_TRUE(t.widget(t.f.List1)->isVisible());
         EXPECT_TRUE(t.f.Line1_2.visible());
         EXPECT_EQ(t.f.Frame1.height(), 2130);
         for (const forms::ListBox* l : t.f.List2) EXPECT_EQ(l->height(), 1680);
     }},
    {"DraggingTheFirstSplitterAfterWideningKeepsTheColumnsInSideA",
     nullptr,
     [](InputTest& t) {
         t.window->resize(t.window->width() + 200, t.window->height());
         QCoreApplication::processEvents();
         ASSERT_EQ(t.f.Frame1.width(), 9285 + 3000);
     },
     [](InputTest& t) { return splitter(t, 0, -100); },
     {Gesture::Drag},
     [](InputTest& t) {
         EXPECT_EQ(t.f.List2[0]->width(), 7395 + 3000 - 1500);
         EXPECT_EQ(t.f.List2[1]->width(), 1755);
         expectColumnsFill(t);
     }},
    {"DraggingTheFirstSplitterInAWindowStartedWiderKeepsTheColumnsInSideA",
     kWiderStart,
     nullptr,
     [](InputTest& t) { return splitter(t, 0, -100); },
     {Gesture::Drag},
     [](InputTest& t) {
         EXPECT_EQ(t.f.List2[0]->width(), 7395 + (13545 - 12045) - 1500);
         expectColumnsFill(t);
     }},
    {"TheRightButtonInASideAColumnDeselectsSideBAndKeepsTheColumnsSelection",
     nullptr,
     [](InputTest& t) {
         t.scan();
         t.f.List1.setSelected(5, true);
         t.f.List2[0]->setSelected(1, true);
     },
     [](InputTest& t) { return t.row(*t.f.List2[0], 3); },
     {Gesture::RightClick},
     [](InputTest& t) {
         EXPECT_FALSE(t.f.List1.anySelected());
         EXPECT_TRUE(t.f.List2[0]->selected(1));
         EXPECT_FALSE(t.f.List2[0]->selected(3));
     }},
    {"AClickInSideBDeselectsSideA",
     nullptr,
     [](InputTest& t) {
         t.scan();
         t.f.List2[0]->setSelected(3, true);  // a row of Side A, in all three
     },
     [](InputTest& t) { return t.row(t.f.List1, 5); },
     {Gesture::Click},
     [](InputTest& t) {
         for (const forms::ListBox* l : t.f.List2) EXPECT_FALSE(l->anySelected()) << l->index();
         EXPECT_TRUE(t.f.List1.selected(5));
     }},
    {"AClickInAnySideAColumnSelectsThatRowInAllThree",
     nullptr,
     [](InputTest& t) {
         t.scan();
         t.f.List2[0]->setSelected(1, true);
     },
     [](InputTest& t) { return t.row(*t.f.List2[1], 3); },
     {Gesture::Click},
     [](InputTest& t) {
         for (const forms::ListBox* l : t.f.List2) {
             EXPECT_TRUE(l->selected(3)) << l->index();
             EXPECT_FALSE(l->selected(1)) << l->index();
             EXPECT_EQ(l->listIndex(), 3) << l->index();
         }
         EXPECT_EQ(t.focused(), t.f.List2[0]);  // Side A's one tab stop
     }},
    {"TheWheelOverAColumnScrollsIt",
     nullptr,
     [](InputTest& t) { t.scan(); },
     [](InputTest& t) {
         Target at = t.row(*t.f.List2[2], 0);
         at.by = {0, -120};
         return at;
     },
     {Gesture::Wheel},
     [](InputTest& t) { EXPECT_EQ(t.f.List2[2]->topIndex(), 3); }},
    {"DraggingOverSideBSelectsTheLinesBetween",
     nullptr,
     [](InputTest& t) { t.scan(); },
     [](InputTest& t) {
         Target at = t.row(t.f.List1, 2);
         at.by = t.row(t.f.List1, 5).at - at.at;
         return at;
     },
     {Gesture::Drag},
     [](InputTest& t) {
         for (int i = 0; i < 8; ++i) EXPECT_EQ(t.f.List1.selected(i), i >= 2 && i <= 5) << i;
     }},
    {"AClickOnAFolderInTheTreeOpensIt",
     nullptr,
     [](InputTest& t) { t.f.Dir1.setPath(QStringLiteral("C:\\")); },
     [](InputTest& t) {
         QListWidget* tree = t.folderList(t.f.Dir1);
         QCoreApplication::processEvents();
         const auto found = tree->findItems(QStringLiteral("data"), Qt::MatchEndsWith);
         EXPECT_EQ(found.size(), 1);
         return Target{tree->viewport(), tree->visualItemRect(found.value(0)).center()};
     },
     {Gesture::Click},
     [](InputTest& t) {
         EXPECT_EQ(t.f.Dir1.path(), QStringLiteral("C:\\data"));
         EXPECT_EQ(t.f.Text2.text(), QStringLiteral("C:\\data"));
         EXPECT_EQ(t.f.state.browsePath, QStringLiteral("C:\\data"));
         const QListWidget* tree = t.folderList(t.f.Dir1);
         EXPECT_EQ(tree->findItems(QStringLiteral("d1"), Qt::MatchEndsWith).size(), 1);
     }},
    {"TheChooserOpensOnTheFolderItsTreeShows",
     nullptr,
     [](InputTest& t) {
         t.scan(QStringLiteral("C:\\data"));
         t.f.KOUT->raiseClick();
     },
     [](InputTest& t) { return Target{t.widget(t.menu.form3.Command3)}; },
     {Gesture::Click},
     [](InputTest& t) {
         const output::Form5& chooser = t.menu.form3.chooser;
         ASSERT_TRUE(chooser.visible());
         // The listing files would go where the tree stands.
         EXPECT_EQ(dosfs::parentFolder(chooser.Text1.text() + QStringLiteral("\\TOLAN.TXT")),
                   chooser.Dir1.path());
         EXPECT_EQ(chooser.Drive1.drive().left(2).toUpper(), chooser.Dir1.path().left(2));
     }},

    // ---- Keyboard
    {"AltMovesToTheMenuBarAndShowsIt",
     nullptr,
     [](InputTest& t) { t.shot = t.window->menuBar()->grab().toImage(); },
     [](InputTest& t) { return Target{t.widget(t.f.Combo2)}; },
     {Gesture::Keys, {Qt::Key_Alt}},
     [](InputTest& t) {
         QMenuBar* bar = t.window->menuBar();
         EXPECT_EQ(bar->activeAction(), bar->actions().value(0));
         EXPECT_NE(bar->grab().toImage(), t.shot);
     }},
    {"AltOOpensTheOptionMenu",
     nullptr,
     nullptr,
     [](InputTest& t) { return Target{t.widget(t.f.Command5)}; },
     {Gesture::Keys, {Qt::AltModifier | Qt::Key_O}},
     [](InputTest& t) { EXPECT_TRUE(t.optionMenu()->isVisible()); }},
    {"F10OpensTheOptionMenu",
     nullptr,
     nullptr,
     [](InputTest& t) { return Target{t.widget(t.f.List1)}; },
     {Gesture::Keys, {Qt::Key_F10}},
     [](InputTest& t) { EXPECT_TRUE(t.optionMenu()->isVisible()); }},
    {"TheOutputSettingsOpenFromTheKeyboardAndEscapeGivesTheFocusBack",
     nullptr,
     nullptr,
     [](InputTest& t) { return Target{t.widget(t.f.Command5)}; },
     {Gesture::Keys, {Qt::Key_F10, Qt::Key_Down, Qt::Key_Right, Qt::Key_Return, Qt::Key_Escape}},
     [](InputTest& t) {
         EXPECT_EQ(t.trail.at(3), &t.menu.form3.Text2);  // the dialog opened
         EXPECT_FALSE(t.menu.form3.visible());
         EXPECT_EQ(t.focusOf(t.f), &t.f.Command5);
     }},
    {"EscapeInTheSaveAsDialogGivesTheFocusBackToItsButton",
     nullptr,
     [](InputTest& t) { t.scan(); },
     [](InputTest& t) { return Target{t.widget(t.f.Command4)}; },
     {Gesture::Keys, {Qt::Key_Space, Qt::Key_Escape}},
     [](InputTest& t) {
         EXPECT_EQ(t.trail.at(0), &t.menu.form2.Text1);  // the dialog opened
         EXPECT_FALSE(t.menu.form2.visible());
         EXPECT_EQ(t.focusOf(t.f), &t.f.Command4);
     }},
    {"EscapeInTheChooserGivesTheFocusBackToItsButton",
     nullptr,
     [](InputTest& t) { t.f.KOUT->raiseClick(); },
     [](InputTest& t) { return Target{t.widget(t.menu.form3.Command3)}; },
     {Gesture::Keys, {Qt::Key_Space, Qt::Key_Escape}},
     [](InputTest& t) {
         EXPECT_EQ(t.trail.at(0), &t.menu.form3.chooser.Dir1);  // the chooser opened
         EXPECT_FALSE(t.menu.form3.chooser.visible());
         EXPECT_EQ(t.focusOf(t.menu.form3), &t.menu.form3.Command3);
     }},
    {"EnterInTheFolderTreeOpensTheHighlightedFolder",
     nullptr,
     [](InputTest& t) { t.f.Dir1.setPath(QStringLiteral("C:\\")); },
     [](InputTest& t) { return Target{t.widget(t.f.Dir1)}; },
     {Gesture::Keys, {Qt::Key_Down, Qt::Key_Return}},
     [](InputTest& t) {
         EXPECT_EQ(t.f.Dir1.path(), QStringLiteral("C:\\data"));
         EXPECT_EQ(t.f.File1.path(), QStringLiteral("C:\\data"));
         EXPECT_EQ(t.f.Text2.text(), QStringLiteral("C:\\data"));
     }},
    {"SpaceInTheFolderTreeOpensTheHighlightedFolder",
     nullptr,
     [](InputTest& t) { t.f.Dir1.setPath(QStringLiteral("C:\\data")); },
     [](InputTest& t) { return Target{t.widget(t.f.Dir1)}; },
     {Gesture::Keys, {Qt::Key_Up, Qt::Key_Space}},
     [](InputTest& t) { EXPECT_EQ(t.f.Dir1.path(), QStringLiteral("C:\\")); }},
    {"LeavingTheFolderTreeOpensTheHighlightedFolder",
     nullptr,
     [](InputTest& t) { t.f.Dir1.setPath(QStringLiteral("C:\\")); },
     [](InputTest& t) { return Target{t.widget(t.f.Dir1)}; },
     {Gesture::Keys, {Qt::Key_Down, Qt::Key_Down, Qt::Key_Tab}},
     [](InputTest& t) {
         EXPECT_EQ(t.f.Dir1.path(), QStringLiteral("C:\\many"));
         EXPECT_EQ(t.f.state.browsePath, QStringLiteral("C:\\many"));
     }},
    {"EnterInTheChooserTakesTheHighlightedFolder",
     nullptr,
     [](InputTest& t) {
         t.f.KOUT->raiseClick();
         t.menu.form3.Command3.raiseClick();
         t.menu.form3.chooser.Dir1.setPath(QStringLiteral("C:\\"));
     },
     [](InputTest& t) { return Target{t.widget(t.menu.form3.chooser.Dir1)}; },
     {Gesture::Keys, {Qt::Key_Down, Qt::Key_Return}},
     [](InputTest& t) {
         EXPECT_FALSE(t.menu.form3.chooser.visible());
         EXPECT_EQ(t.f.state.settings.outputDir, QStringLiteral("C:\\data"));
         EXPECT_EQ(t.menu.form3.Text2.text(), QStringLiteral("C:\\data"));
     }},
    {"LeavingTheChoosersTreeForItsAcceptButtonTakesTheHighlightedFolder",
     nullptr,
     [](InputTest& t) {
         t.f.KOUT->raiseClick();
         t.menu.form3.Command3.raiseClick();
     },
     [](InputTest& t) { return Target{t.widget(t.menu.form3.chooser.Dir1)}; },
     {Gesture::Keys, {Qt::Key_Down, Qt::Key_Down, Qt::Key_Tab, Qt::Key_Space}},
     [](InputTest& t) {
         EXPECT_EQ(t.trail.at(2), &t.menu.form3.chooser.Command1);
         EXPECT_EQ(t.f.state.settings.outputDir, QStringLiteral("C:\\many"));
     }},
    {"TabFollowsTheScreenAndShiftTabGoesBack",
     nullptr,
     [](InputTest& t) { t.kept = t.f.Text2.text(); },
     [](InputTest& t) { return Target{t.widget(t.f.Combo2)}; },
     {Gesture::Keys,
      [] {
          std::vector<QKeyCombination> keys(16, Qt::Key_Tab);
          keys.insert(keys.end(), 16, Qt::ShiftModifier | Qt::Key_Backtab);
          return keys;
      }()},
     [](InputTest& t) {
         shell::Form1& f = t.f;
         // Side A's three columns are one stop.
         const std::vector<const forms::Control*> screen = {
             &f.Combo2,   &f.Combo1,   &f.Text1,    &f.Command7, f.List2[0],  &f.Text2,
             &f.Drive1,   &f.Dir1,     &f.File1,    &f.List1,    &f.Command6, &f.Command3,
             &f.Command1, &f.Command4, &f.Command5, &f.Command9};
         for (size_t i = 0; i < 16; ++i) {
             EXPECT_EQ(t.trail.at(i), screen[(i + 1) % 16])
                 << "tab " << i + 1 << nameOf(t.trail.at(i));
             EXPECT_EQ(t.trail.at(16 + i), screen[15 - i])
                 << "shift+tab " << i + 1 << nameOf(t.trail.at(16 + i));
         }
         EXPECT_EQ(t.f.Text2.text(), t.kept);  // no tab typed into the path box
     }},
    {"TabIntoAnEmptyColumnShowsTheFocus",
     nullptr,
     [](InputTest& t) { t.shot = t.picture(*t.f.List2[0]); },
     [](InputTest& t) { return Target{t.widget(t.f.Command7)}; },
     {Gesture::Keys, {Qt::Key_Tab}},
     [](InputTest& t) {
         ASSERT_EQ(t.focused(), t.f.List2[0]);
         EXPECT_NE(t.picture(*t.f.List2[0]), t.shot);
     }},
    copyKey("CtrlCCopiesSideBsSelection", Qt::ControlModifier | Qt::Key_C),
    copyKey("CtrlInsertCopiesSideBsSelection", Qt::ControlModifier | Qt::Key_Insert),
    copyKey("ShiftF10CopiesSideBsSelection", Qt::ShiftModifier | Qt::Key_F10),
    copyKey("TheMenuKeyCopiesSideBsSelection", Qt::Key_Menu),
    {"EnterInSideAEnlargesIt",
     nullptr,
     [](InputTest& t) { t.scan(); },
     [](InputTest& t) { return Target{t.widget(*t.f.List2[2])}; },
     {Gesture::Keys, {Qt::Key_Return}},
     [](InputTest& t) {
         EXPECT_TRUE(t.f.layout.sideAEnlarged);
         EXPECT_FALSE(t.widget(t.f.List1)->isVisible());
     }},
    {"ArrowsPageKeysHomeAndEndMoveSideAsRowInAllThreeColumns",
     nullptr,
     [](InputTest& t) { t.scan(); },
     [](InputTest& t) { return Target{t.widget(*t.f.List2[0])}; },
     {Gesture::Keys,
      {Qt::Key_Down, Qt::Key_Down, Qt::Key_End, Qt::Key_PageUp, Qt::Key_Home, Qt::Key_PageDown,
       Qt::Key_Down}},
     [](InputTest& t) {
         const int row = t.f.List2[0]->listIndex();
         EXPECT_GT(row, 2);  // a page down and one more
         for (const forms::ListBox* l : t.f.List2) {
             EXPECT_EQ(l->listIndex(), row) << l->index();
             EXPECT_TRUE(l->selected(row)) << l->index();
             EXPECT_FALSE(l->selected(59)) << l->index();
             EXPECT_EQ(l->topIndex(), t.f.List2[2]->topIndex()) << l->index();
             EXPECT_TRUE(t.list(*l)->rowRect(row).intersects(t.list(*l)->viewport()->rect()));
         }
         for (const forms::Control* c : t.trail) EXPECT_EQ(c, t.f.List2[0]);
     }},
    {"F1OpensTheHelpAndEscapeClosesItGivingTheFocusBack",
     nullptr,
     nullptr,
     [](InputTest& t) { return Target{t.widget(t.f.Command3)}; },
     {Gesture::Keys, {Qt::Key_F1, Qt::Key_Escape}},
     [](InputTest& t) {
         EXPECT_EQ(t.trail.at(0), &t.f.Text5);  // the help shown, to be read
         EXPECT_FALSE(t.f.Text5.visible());
         EXPECT_EQ(t.trail.at(1), &t.f.Command3);
     }},
    {"TabReachesEveryToolOfThePrintPreviewAndThePage",
     nullptr,
     [](InputTest& t) {
         t.scan();
         t.openPrintPreview();
     },
     [](InputTest& t) { return Target{&t.preview->pages()}; },
     {Gesture::Keys, std::vector<QKeyCombination>(11, Qt::Key_Tab)},
     [](InputTest& t) {
         QStringList reached;
         for (QWidget* w : t.widgetTrail) reached << nameOfFocus(w);
         const QStringList tools = {
             QStringLiteral("印刷"), QStringLiteral("幅に合わせる"), QStringLiteral("ページ全体"),
             QStringLiteral("拡大"), QStringLiteral("縮小"),         QStringLiteral("縦"),
             QStringLiteral("横"),   QStringLiteral("用紙設定"),     QStringLiteral("page number"),
             QStringLiteral("戻る"), QStringLiteral("page")};
         EXPECT_EQ(reached, tools);
     }},
    {"TabIntoAnEmptyFileListShowsTheFocus",
     nullptr,
     [](InputTest& t) {
         t.f.Dir1.setPath(QStringLiteral("C:\\data"));  // folders only
         t.shot = t.picture(t.f.File1);
     },
     [](InputTest& t) { return Target{t.widget(t.f.Dir1)}; },
     {Gesture::Keys, {Qt::Key_Tab}},
     [](InputTest& t) {
         ASSERT_EQ(t.focused(), &t.f.File1);
         EXPECT_NE(t.picture(t.f.File1), t.shot);
     }},
};

void PrintTo(const Input& in, std::ostream* os) {
    *os << in.name;
}

TEST_P(InputTest, WhatTheUserDoes) {
    const Input& in = GetParam();
    if (in.before) in.before(*this);
    ASSERT_FALSE(HasFatalFailure());
    QCoreApplication::processEvents();
    perform(in);
    ASSERT_FALSE(HasFatalFailure());
    in.then(*this);
}

INSTANTIATE_TEST_SUITE_P(Window, InputTest, ::testing::ValuesIn(kInputs),
                         [](const ::testing::TestParamInfo<Input>& info) {
                             return std::string(info.param.name);
                         });

}  // namespace
