#include "platform/qt/form_window.h"

#include "platform/forms/shown_text.h"
#include "platform/qt/accessible.h"
#include "platform/qt/form_window_shared.h"

#include "platform/forms/basic_controls.h"
#include "platform/forms/file_controls.h"
#include "platform/forms/list_box.h"
#include "platform/qt/line_widget.h"
#include "platform/qt/list_view.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QScrollBar>
#include <QStyle>
#include <QTimer>

#include <algorithm>

// A property changed in the model is put into its widget.

namespace qtbind {

using forms::Control;
using forms::Kind;
using forms::Prop;

namespace {

// An opaque label hides what lies beneath its text, not its whole box: a
// counter that stands across a separator breaks the line only behind its
// figures, and none of the labels its box overlaps loses the top of its text.
void fillBehindText(const Control& c, QWidget* w) {
    if (c.kind() != Kind::Label || !static_cast<const forms::Label&>(c).opaque) return;
    auto* label = static_cast<QLabel*>(w);
    QRect text;
    if (!label->text().isEmpty())
        text = label->fontMetrics()
                   .boundingRect(label->contentsRect(), static_cast<int>(label->alignment()),
                                 label->text())
                   .adjusted(-1, -1, 1, 1) &
               label->rect();
    label->setAutoFillBackground(!text.isEmpty());
    label->setMask(text);
}

}  // namespace

void FormWindow::applyGeometry(Control& c) {
    QWidget* w = widgetOf(c);
    if (!w) return;
    Applying guard(applying_);
    if (c.kind() == Kind::Line) {
        const auto& l = static_cast<const forms::Line&>(c);
        const QPoint a(snap(l.x1()), snap(l.y1()));
        const QPoint b(snap(l.x2()), snap(l.y2()));
        const QRect box = QRect(a, b).normalized();
        w->setGeometry(box.x(), box.y(), box.width() + 1, box.height() + 1);
        static_cast<LineWidget*>(w)->setEnds(a - box.topLeft(), b - box.topLeft());
        return;
    }
    // Each edge is rounded on its own, so that controls that meet in twips
    // meet in pixels too: no gaps, no overlaps.
    const int left = snap(c.left()), top = snap(c.top());
    int right = snap(c.left() + c.width()), bottom = snap(c.top() + c.height());
    // A window manager may give the client up to a grid step less than the
    // form's twips put on screen (its resize steps): a control at the edge
    // keeps inside what is shown, or its frame's far side is lost.
    if (!c.container()) {
        const QSize room = client_->size();
        if (right > room.width() && right - room.width() < grid_) right = room.width();
        if (bottom > room.height() && bottom - room.height() < grid_) bottom = room.height();
    }
    w->setGeometry(left, top, std::max(0, right - left), std::max(0, bottom - top));
    fillBehindText(c, w);
}

void FormWindow::applyText(Control& c) {
    QWidget* w = widgetOf(c);
    if (!w) return;
    Applying guard(applying_);
    switch (c.kind()) {
        case Kind::Label:
            static_cast<QLabel*>(w)->setText(forms::shown(c.text()));
            fillBehindText(c, w);
            break;
        case Kind::Button:
            static_cast<QPushButton*>(w)->setText(forms::shown(c.text()));
            break;
        case Kind::OptionButton:
            static_cast<QRadioButton*>(w)->setText(forms::shown(c.text()));
            setOptionChecked(static_cast<QRadioButton*>(w),
                             static_cast<const forms::OptionButton&>(c).value());
            break;
        case Kind::CheckBox:
            static_cast<QCheckBox*>(w)->setText(forms::shown(c.text()));
            static_cast<QCheckBox*>(w)->setChecked(static_cast<const forms::CheckBox&>(c).value());
            break;
        case Kind::Frame:
            if (auto* g = qobject_cast<QGroupBox*>(w)) g->setTitle(forms::shown(c.text()));
            break;
        case Kind::TextBox:
            if (auto* e = qobject_cast<QPlainTextEdit*>(w)) {
                if (e->toPlainText() != c.text()) e->setPlainText(c.text());
            } else if (auto* l = qobject_cast<QLineEdit*>(w)) {
                if (l->text() != c.text()) l->setText(c.text());
            }
            break;
        case Kind::ComboBox: {
            auto* cb = static_cast<QComboBox*>(w);
            const QString text = forms::shown(c.text());
            if (cb->currentText() != text) cb->setEditText(text);
            break;
        }
        case Kind::DriveList: {
            auto* cb = static_cast<QComboBox*>(w);
            const auto& box = static_cast<const forms::DriveListBox&>(c);
            const QStringList entries = box.entries();
            if (cb->count() != entries.size()) {
                cb->clear();
                cb->addItems(entries);
            }
            cb->setCurrentIndex(static_cast<int>(entries.indexOf(box.drive())));
            break;
        }
        case Kind::DirList:
        case Kind::FileList:
            applyItems(c);
            break;
        default:
            break;
    }
}

void FormWindow::applyItems(Control& c) {
    QWidget* w = widgetOf(c);
    if (!w) return;
    Applying guard(applying_);
    switch (c.kind()) {
        case Kind::ComboBox: {
            auto* cb = static_cast<QComboBox*>(w);
            const QString text = c.text();
            cb->clear();
            for (const QString& item : static_cast<const forms::ComboBox&>(c).items())
                cb->addItem(forms::shown(item));
            cb->setEditText(forms::shown(text));
            break;
        }
        case Kind::DirList: {
            auto* list = static_cast<QListWidget*>(w);
            const auto& box = static_cast<const forms::DirListBox&>(c);
            list->clear();
            for (const forms::DirListBox::Row& row : box.rows()) {
                auto* item = new QListWidgetItem(QString(row.depth * 2, u' ') + row.name, list);
                item->setData(Qt::UserRole, row.listIndex);
                if (row.listIndex == -1) list->setCurrentItem(item);
            }
            break;
        }
        case Kind::FileList: {
            auto* list = static_cast<QListWidget*>(w);
            const auto& box = static_cast<const forms::FileListBox&>(c);
            list->clear();
            for (int i = 0; i < box.listCount(); ++i) list->addItem(box.list(i));
            break;
        }
        case Kind::ListBox:
            if (ListBoxView* v = views_[&c]) v->itemsReset();
            break;
        default:
            break;
    }
}

void FormWindow::applySelection(Control& c) {
    if (ListBoxView* view = views_[&c]) view->showSelection();
}

void FormWindow::applyTimer(Control& c) {
    QTimer* t = timers_[&c];
    const auto& timer = static_cast<const forms::Timer&>(c);
    if (!t) return;
    if (timer.timerEnabled() && timer.interval() > 0) {
        t->start(timer.interval());
    } else {
        t->stop();
    }
}

// Fore colour on the text, back colour on the box; the default back colour
// is the style's own palette again.
void FormWindow::applyColors(Control& c, Prop what) {
    QWidget* w = widgetOf(c);
    QPalette p = w->palette();
    if (what == Prop::ForeColor) {
        const QColor color = QColor::fromRgb(c.foreColor());
        p.setColor(QPalette::WindowText, color);
        p.setColor(QPalette::Text, color);
        p.setColor(QPalette::ButtonText, color);
        w->setPalette(p);
        return;
    }
    if (c.backColor() == forms::kDefaultColor) {
        p = w->style()->standardPalette();
        p.setColor(QPalette::WindowText, QColor::fromRgb(c.foreColor()));
        p.setColor(QPalette::Text, QColor::fromRgb(c.foreColor()));
    } else {
        const QColor color = QColor::fromRgb(c.backColor());
        p.setColor(QPalette::Base, color);
        p.setColor(QPalette::Window, color);
        p.setColor(QPalette::Button, color);
    }
    w->setPalette(p);
    w->setAutoFillBackground(c.backColor() != forms::kDefaultColor);
    fillBehindText(c, w);
}

// The top row and the current row of a list box.
void FormWindow::applyListPosition(Control& c, Prop what) {
    ListBoxView* view = views_[&c];
    if (!view) return;
    Applying guard(applying_);
    view->catchUp();
    if (what == Prop::TopIndex)
        view->setTopRow(static_cast<forms::ListBox&>(c).topIndex());
    else
        view->showSelection();
}

void FormWindow::applyFocus(QWidget* w) {
    if (auto* cb = qobject_cast<QComboBox*>(w); cb && cb->lineEdit()) {
        cb->lineEdit()->setFocus();
        return;
    }
    if (!w->hasFocus()) {
        focusGivenTo_ = w;
        focusGivenFrom_ = QApplication::focusWidget();
    }
    w->setFocus();
    // A box given the focus by the program is ready to be typed over.
    if (auto* e = qobject_cast<QLineEdit*>(w)) e->selectAll();
}

// A folder or file list's rows are often replaced from a click on one of
// them: they are rebuilt once the click has been handled.
void FormWindow::rebuildAfterClick(Control& c) {
    QTimer::singleShot(0, this, [this, &c] { applyItems(c); });
}

void FormWindow::changed(Control& c, Prop what) {
    if (c.kind() == Kind::Timer) {
        if (what == Prop::Timer) applyTimer(c);
        return;
    }
    QWidget* w = widgetOf(c);
    if (!w) return;
    switch (what) {
        case Prop::Geometry:
            applyGeometry(c);
            break;
        case Prop::Visible: {
            // A message box is named before it shows, and Qt announces it
            // with that name; hidden, it says nothing. A box the program gave
            // the focus to gives it back as it hides (the help panel to the
            // control it was opened from).
            const bool giveBack = !c.visible() && w == focusGivenTo_ && w->hasFocus();
            if (c.visible()) followMessage(c, w);
            w->setVisible(c.visible());
            if (!c.visible()) followMessage(c, w);
            if (giveBack && focusGivenFrom_ && focusGivenFrom_->isVisible())
                focusGivenFrom_->setFocus(Qt::OtherFocusReason);
            break;
        }
        case Prop::Enabled:
            w->setEnabled(c.enabled());
            if (c.enabled()) giveFocusBack();
            break;
        case Prop::Text:
            applyText(c);
            followMessage(c, w);
            break;
        case Prop::Accessible:
            describe(c, w);
            break;
        case Prop::ForeColor:
        case Prop::BackColor:
            applyColors(c, what);
            break;
        case Prop::Font:
            if (!c.font().name.isEmpty())
                w->setFont(QFont(substituteFont(c.font().name), c.font().points));
            fillBehindText(c, w);
            break;
        case Prop::ItemsAppended:
            if (const auto it = views_.find(&c); it != views_.end()) it->second->itemsAppended();
            break;
        case Prop::ItemsReset:
            if (c.kind() == Kind::DirList || c.kind() == Kind::FileList)
                rebuildAfterClick(c);
            else
                applyItems(c);
            break;
        case Prop::Selection:
            applySelection(c);
            break;
        case Prop::TopIndex:
        case Prop::ListIndex:
            applyListPosition(c, what);
            break;
        case Prop::MousePointer:
            w->setCursor(cursorOf(c.mousePointer()));
            break;
        case Prop::Focus:
            applyFocus(w);
            break;
        default:
            break;
    }
}

}  // namespace qtbind
