#include "platform/qt/form_window.h"

#include "platform/forms/shown_text.h"

#include "platform/qt/form_window_shared.h"

#include "platform/forms/basic_controls.h"
#include "platform/forms/file_controls.h"
#include "platform/forms/list_box.h"
#include "platform/qt/accessible.h"
#include "platform/qt/line_widget.h"
#include "platform/qt/list_view.h"
#include "platform/qt/list_view_accessible.h"

#include <QCheckBox>
#include <QComboBox>
#include <QFrame>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPainter>
#include <QPlainTextEdit>
#include <QProxyStyle>
#include <QPushButton>
#include <QRadioButton>
#include <QScrollBar>
#include <QStyleOptionFrame>
#include <QTextDocument>

#include <cmath>

namespace {

// At a fractional scale a frame's stroked right and bottom lines round off
// the widget (a box at the window's edge, or under another, loses them): its
// edges are filled in, one logical pixel inside, instead.
class EdgeFrameStyle : public QProxyStyle {
  public:
    void drawControl(ControlElement element, const QStyleOption* option, QPainter* painter,
                     const QWidget* widget) const override {
        const qreal ratio = widget ? widget->devicePixelRatioF() : 1.0;
        const auto* frame = qstyleoption_cast<const QStyleOptionFrame*>(option);
        if (element != CE_ShapedFrame || ratio == std::floor(ratio) || !frame ||
            frame->frameShape == QFrame::NoFrame)
            return QProxyStyle::drawControl(element, option, painter, widget);
        const QRect r = option->rect;
        const QColor edge = option->palette.color(QPalette::Mid);
        painter->fillRect(QRect(r.left(), r.top(), r.width(), 1), edge);
        painter->fillRect(QRect(r.left(), r.bottom(), r.width(), 1), edge);
        painter->fillRect(QRect(r.left(), r.top(), 1, r.height()), edge);
        painter->fillRect(QRect(r.right(), r.top(), 1, r.height()), edge);
    }
};

QStyle* edgeFrameStyle() {
    static EdgeFrameStyle* const style = new EdgeFrameStyle;
    return style;
}

// Lists show the focus on their frame, so that a list with no current row
// (an empty one, or one the program has not yet put a row in) shows it too.
class FocusFrameStyle : public EdgeFrameStyle {
  public:
    void drawControl(ControlElement element, const QStyleOption* option, QPainter* painter,
                     const QWidget* widget) const override {
        EdgeFrameStyle::drawControl(element, option, painter, widget);
        if (element != CE_ShapedFrame || !(option->state & State_HasFocus)) return;
        painter->save();
        painter->setPen(option->palette.color(QPalette::Highlight));
        painter->setBrush(Qt::NoBrush);
        painter->drawRect(option->rect.adjusted(0, 0, -1, -1));
        painter->restore();
    }
};

QStyle* focusFrameStyle() {
    static FocusFrameStyle* const style = new FocusFrameStyle;
    return style;
}

class ListStyle : public FocusFrameStyle {
  public:
    int pixelMetric(PixelMetric metric, const QStyleOption* option,
                    const QWidget* widget) const override {
        if (metric == PM_FocusFrameHMargin) return 0;
        if (metric == PM_ScrollBarExtent) return 11;
        return QProxyStyle::pixelMetric(metric, option, widget);
    }
};

}  // namespace

// The widget of each kind of control, with the signals that carry what the
// user does back into the control.

namespace qtbind {

using forms::Control;
using forms::Kind;

QWidget* FormWindow::create(Control& c, QWidget* parent) {
    switch (c.kind()) {
        case Kind::Label: {
            auto* l = new QLabel(parent);
            l->setAlignment(Qt::AlignLeft | Qt::AlignTop);
            l->setAutoFillBackground(static_cast<forms::Label&>(c).opaque);
            return l;
        }
        case Kind::Button: {
            auto* b = new QPushButton(parent);
            connect(b, &QPushButton::clicked, this, [&c] { c.raiseClick(); });
            return b;
        }
        case Kind::OptionButton:
            return createOptionButton(static_cast<forms::OptionButton&>(c), parent);
        case Kind::CheckBox: {
            auto& box = static_cast<forms::CheckBox&>(c);
            auto* b = new QCheckBox(parent);
            connect(b, &QCheckBox::clicked, this, [&box](bool on) { box.setValue(on); });
            return b;
        }
        case Kind::Frame: {
            if (!c.text().isEmpty()) return new QGroupBox(parent);
            auto* f = new QFrame(parent);
            f->setFrameShape(QFrame::StyledPanel);
            f->setStyle(edgeFrameStyle());
            return f;
        }
        case Kind::Line:
            return new LineWidget(parent);
        case Kind::TextBox:
            return createTextBox(static_cast<forms::TextBox&>(c), parent);
        case Kind::ComboBox:
            return createComboBox(static_cast<forms::ComboBox&>(c), parent);
        case Kind::DriveList: {
            auto& box = static_cast<forms::DriveListBox&>(c);
            auto* cb = new QComboBox(parent);
            connect(cb, qOverload<int>(&QComboBox::activated), this, [this, &box](int i) {
                box.picked(i);
                applyText(box);  // a failed change may have put the old drive back
            });
            return cb;
        }
        case Kind::DirList:
        case Kind::FileList:
            return createFolderOrFileList(c, parent);
        case Kind::ListBox: {
            auto* view = new ListBoxView(static_cast<forms::ListBox&>(c), parent);
            wireListBox(c, view);
            return view;
        }
        case Kind::Timer:
            break;
    }
    return new QWidget(parent);
}

QWidget* FormWindow::createOptionButton(forms::OptionButton& option, QWidget* parent) {
    // Exclusive, so that a screen reader reads option buttons, not check
    // boxes; the model keeps its group exclusive all the same.
    auto* b = new QRadioButton(parent);
    connect(b, &QRadioButton::clicked, this, [this, b, &option] {
        option.setValue(true);
        Applying guard(applying_);
        setOptionChecked(b, option.value());
    });
    return b;
}

QWidget* FormWindow::createTextBox(forms::TextBox& box, QWidget* parent) {
    if (box.multiLine()) {
        auto* e = new QPlainTextEdit(parent);
        e->setReadOnly(box.locked());
        e->setTabChangesFocus(true);  // a tab means nothing in these boxes
        // Message boxes are sized for their text, as the design has
        // them: no scroll bars, a thin margin.
        const Qt::ScrollBarPolicy bars =
            box.scrollBars() ? Qt::ScrollBarAsNeeded : Qt::ScrollBarAlwaysOff;
        e->setVerticalScrollBarPolicy(bars);
        e->setHorizontalScrollBarPolicy(bars);
        if (box.scrollBars()) e->setLineWrapMode(QPlainTextEdit::NoWrap);
        e->document()->setDocumentMargin(1);
        e->setStyle(edgeFrameStyle());
        watchViewport(e->viewport(), box);
        connect(e, &QPlainTextEdit::textChanged, this, [this, e, &box] {
            if (!applying_) box.typed(e->toPlainText());
        });
        return e;
    }
    auto* e = new QLineEdit(parent);
    e->setReadOnly(box.locked());
    connect(e, &QLineEdit::textEdited, this, [&box](const QString& t) { box.typed(t); });
    return e;
}

QWidget* FormWindow::createComboBox(forms::ComboBox& box, QWidget* parent) {
    auto* cb = new QComboBox(parent);
    cb->setEditable(true);
    cb->setInsertPolicy(QComboBox::NoInsert);
    connect(cb->lineEdit(), &QLineEdit::textEdited, this,
            [&box](const QString& t) { box.typed(t); });
    connect(cb, qOverload<int>(&QComboBox::activated), this, [this, cb, &box](int i) {
        box.picked(i);
        Applying guard(applying_);
        cb->setEditText(forms::shown(box.text()));
    });
    controls_[cb->lineEdit()] = &box;
    cb->lineEdit()->installEventFilter(this);
    return cb;
}

void FormWindow::watchViewport(QWidget* viewport, Control& c) {
    controls_[viewport] = &c;
    viewport->setMouseTracking(true);
    viewport->installEventFilter(this);
    // A scroll area passes on what its viewport leaves (a double-click, a
    // button other than the left): the control has had that event already.
    viewport->setAttribute(Qt::WA_NoMousePropagation);
}

// The folder tree and the file list: a row list whose viewport reports the
// mouse as the control's own.
QWidget* FormWindow::createFolderOrFileList(Control& c, QWidget* parent) {
    auto* list = new QListWidget(parent);
    if (c.kind() == Kind::DirList) {
        auto& box = static_cast<forms::DirListBox&>(c);
        connect(list, &QListWidget::itemClicked, this, [&box](QListWidgetItem* item) {
            box.setListIndexFromUser(item->data(Qt::UserRole).toInt());
            box.raiseClick();
        });
        // The list index is the highlighted row, moved by the arrow keys
        // too; the folder opens on a click, Enter or Space.
        connect(list, &QListWidget::currentItemChanged, this, [this, &box](QListWidgetItem* item) {
            if (item && !applying_) box.setListIndexFromUser(item->data(Qt::UserRole).toInt());
        });
    } else {
        auto& box = static_cast<forms::FileListBox&>(c);
        connect(list, &QListWidget::itemClicked, this,
                [list, &box](QListWidgetItem* item) { box.picked(list->row(item)); });
    }
    list->setStyle(focusFrameStyle());
    watchViewport(list->viewport(), c);
    return list;
}

void FormWindow::wireListBox(Control& c, QWidget* w) {
    auto& box = static_cast<forms::ListBox&>(c);
    auto* view = static_cast<ListBoxView*>(w);
    views_[&c] = view;
    view->setHorizontalScrollBarPolicy(box.scrollsSideways ? Qt::ScrollBarAsNeeded
                                                           : Qt::ScrollBarAlwaysOff);
    // Lists of fixed-width columns: a slim scroll bar, so a column the
    // design made for its widest text (a date and time) shows it whole.
    static ListStyle* const listStyle = new ListStyle;
    view->setStyle(listStyle);
    view->verticalScrollBar()->setStyle(listStyle);
    view->horizontalScrollBar()->setStyle(listStyle);
    watchViewport(view->viewport(), c);
    connect(view->verticalScrollBar(), &QScrollBar::valueChanged, this, [this, &box](int v) {
        if (!applying_) box.setTopIndexFromUser(v);
    });
    view->clicked = [&box] { box.raiseClick(); };
}

void FormWindow::joinTables() {
    for (const auto& [control, view] : views_) {
        const auto& box = static_cast<const forms::ListBox&>(*control);
        if (box.columnHeader) view->columnHeader = widgetOf(*box.columnHeader);
        // The first column takes the focus for all (see ListBoxView).
        if (view->tableView() != view) view->setFocusPolicy(Qt::NoFocus);
    }
}

}  // namespace qtbind
