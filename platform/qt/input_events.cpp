#include "platform/qt/form_window.h"

#include "platform/qt/form_window_shared.h"

#include "platform/forms/basic_controls.h"

#include <QKeyEvent>
#include <QListWidget>
#include <QMouseEvent>

// Mouse and keyboard input translated into the forms' events: buttons,
// shift state and positions in twips, key codes (the form's before its
// control's), Enter and Escape pressing
// the form's default and cancel buttons, and Enter and Space clicking a
// folder tree's highlighted row.

namespace qtbind {

using forms::Control;
using forms::Kind;

int keyCodeOf(int k) {
    using namespace forms::keys;
    if (k >= Qt::Key_A && k <= Qt::Key_Z) return kA + (k - Qt::Key_A);
    if (k >= Qt::Key_0 && k <= Qt::Key_9) return k0 + (k - Qt::Key_0);
    if (k >= Qt::Key_F1 && k <= Qt::Key_F12) return kF1 + (k - Qt::Key_F1);
    switch (k) {
        case Qt::Key_Backspace:
            return kBackspace;
        case Qt::Key_Tab:
            return kTab;
        case Qt::Key_Return:
        case Qt::Key_Enter:
            return kEnter;
        case Qt::Key_Shift:
            return kShift;
        case Qt::Key_Control:
            return kCtrl;
        case Qt::Key_Alt:
            return kAlt;
        case Qt::Key_Escape:
            return kEscape;
        case Qt::Key_Space:
            return kSpace;
        case Qt::Key_PageUp:
            return kPageUp;
        case Qt::Key_PageDown:
            return kPageDown;
        case Qt::Key_End:
            return kEnd;
        case Qt::Key_Home:
            return kHome;
        case Qt::Key_Left:
            return kLeft;
        case Qt::Key_Up:
            return kUp;
        case Qt::Key_Right:
            return kRight;
        case Qt::Key_Down:
            return kDown;
        case Qt::Key_Insert:
            return kInsert;
        case Qt::Key_Delete:
            return kDelete;
        case Qt::Key_Menu:
            return kMenu;
        default:
            return k & 0xFFFF;
    }
}

namespace {

int buttonsOf(Qt::MouseButtons b) {
    return (b & Qt::LeftButton ? forms::kLeftButton : 0) |
           (b & Qt::RightButton ? forms::kRightButton : 0) |
           (b & Qt::MiddleButton ? forms::kMiddleButton : 0);
}

int shiftOf(Qt::KeyboardModifiers m) {
    return (m & Qt::ShiftModifier ? forms::kShiftMask : 0) |
           (m & Qt::ControlModifier ? forms::kCtrlMask : 0) |
           (m & Qt::AltModifier ? forms::kAltMask : 0);
}

// A press, release, move or double click on a control raised as its event;
// whether Qt must not see the event.
bool passMouseEvent(Control& c, QObject* watched, const QMouseEvent& m) {
    const int x = qRound(m.position().x()) * kTwipsPerPixel;
    const int y = qRound(m.position().y()) * kTwipsPerPixel;
    const int shift = shiftOf(m.modifiers());
    if (m.type() == QEvent::MouseButtonPress)
        c.raiseMouseDown(buttonsOf(m.button()), shift, x, y);
    else if (m.type() == QEvent::MouseButtonRelease) {
        c.raiseMouseUp(buttonsOf(m.button()), shift, x, y);
        // Labels and text boxes have no click signal of their own.
        if ((c.kind() == Kind::Label || c.kind() == Kind::TextBox) &&
            m.button() == Qt::LeftButton &&
            static_cast<QWidget*>(watched)->rect().contains(m.position().toPoint()))
            c.raiseClick();
    } else if (m.type() == QEvent::MouseMove)
        c.raiseMouseMove(buttonsOf(m.buttons()), shift, x, y);
    else if (c.kind() != Kind::Button)
        c.raiseDblClick();
    // The right button acts on a list's selection (the copy), so the
    // list itself must not move the selection to the clicked line.
    return c.kind() == Kind::ListBox && m.button() == Qt::RightButton &&
           m.type() != QEvent::MouseMove;
}

}  // namespace

bool FormWindow::pressesButton(Control& c, int key) {
    forms::Control* button = nullptr;
    if (key == Qt::Key_Escape) button = form_.cancelButton;
    const bool enter = key == Qt::Key_Return || key == Qt::Key_Enter;
    // Enter in a box of several lines is a line break; on a button it
    // presses that button.
    if (enter && c.kind() == Kind::Button) {
        button = &c;
    } else if (enter && !c.wantsEnter &&
               !(c.kind() == Kind::TextBox && static_cast<const forms::TextBox&>(c).multiLine())) {
        button = form_.defaultButton;
    }
    if (!button || !button->enabled() || !button->visible()) return false;
    button->raiseClick();
    return true;
}

bool FormWindow::clicksFolderRow(Control& c, QObject* watched, const QKeyEvent& key) {
    if (c.kind() != Kind::DirList || watched != widgetOf(c)) return false;
    if (key.modifiers() & ~Qt::KeypadModifier) return false;
    const int k = key.key();
    if (k != Qt::Key_Return && k != Qt::Key_Enter && k != Qt::Key_Space) return false;
    if (!static_cast<QListWidget*>(watched)->currentItem()) return false;
    c.raiseClick();  // the list index follows the highlight already
    return true;
}

bool FormWindow::takenByForm(const QKeyEvent& key) {
    if (!form_.KeyDown) return false;
    int code = keyCodeOf(key.key());
    form_.KeyDown(code, shiftOf(key.modifiers()));
    return code == 0;
}

bool FormWindow::eventFilter(QObject* watched, QEvent* event) {
    if (dying_) return false;
    if (watched == client_) {
        if (event->type() == QEvent::MouseMove && form_.MouseMove) {
            auto* m = static_cast<QMouseEvent*>(event);
            form_.MouseMove(buttonsOf(m->buttons()), shiftOf(m->modifiers()),
                            qRound(m->position().x()) * kTwipsPerPixel,
                            qRound(m->position().y()) * kTwipsPerPixel);
        }
        return false;
    }
    Control* c = controlOf(watched);
    if (!c) return false;
    switch (event->type()) {
        case QEvent::MouseButtonPress:
        case QEvent::MouseButtonRelease:
        case QEvent::MouseMove:
        case QEvent::MouseButtonDblClick:
            return passMouseEvent(*c, watched, *static_cast<QMouseEvent*>(event));
        case QEvent::KeyPress: {
            auto* k = static_cast<QKeyEvent*>(event);
            if (takenByForm(*k)) return true;
            // Enter goes on as Enter: a dialog's default button takes the
            // folder it opened.
            if (clicksFolderRow(*c, watched, *k) && k->key() == Qt::Key_Space) return true;
            // A key held on a button presses it once: its repeats are no new
            // presses, so one that began on a stop never lands on an exit.
            if (k->isAutoRepeat() && c->kind() == Kind::Button) return true;
            if (pressesButton(*c, k->key())) return true;
            c->raiseKeyDown(keyCodeOf(k->key()), shiftOf(k->modifiers()));
            break;
        }
        case QEvent::FocusIn:
            if (watched == widgetOf(*c)) c->raiseGotFocus();
            break;
        case QEvent::FocusOut:
            if (watched == widgetOf(*c)) c->raiseLostFocus();
            break;
        default:
            break;
    }
    return false;
}

}  // namespace qtbind
