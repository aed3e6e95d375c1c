#include "platform/qt/form_window.h"

#include "platform/forms/basic_controls.h"
#include "platform/forms/file_controls.h"
#include "platform/forms/list_box.h"
#include "platform/qt/line_widget.h"
#include "platform/qt/list_model.h"

#include <QCheckBox>
#include <QCloseEvent>
#include <QComboBox>
#include <QFrame>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QListView>
#include <QListWidget>
#include <QMenuBar>
#include <QMouseEvent>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QScrollBar>
#include <QStyle>
#include <QTextDocument>
#include <QTimer>

#include <algorithm>

namespace qtbind {

using forms::Control;
using forms::Kind;
using forms::Prop;

int frameHeightOf(const forms::Form& form) {
    return form.menus().empty() ? kDialogFrameHeight : kFrameHeight;
}

int toPixels(int twips) {
    return qRound(twips / double(kTwipsPerPixel));
}

QString substituteFont(const QString& name) {
    if (name == QStringLiteral("ＭＳ ゴシック")) return QStringLiteral("IPAGothic");
    if (name == QStringLiteral("ＭＳ Ｐゴシック")) return QStringLiteral("IPAPGothic");
    return name;
}

int keyCodeOf(int k) {
    if (k >= Qt::Key_A && k <= Qt::Key_Z) return 65 + (k - Qt::Key_A);
    if (k >= Qt::Key_0 && k <= Qt::Key_9) return 48 + (k - Qt::Key_0);
    if (k >= Qt::Key_F1 && k <= Qt::Key_F12) return 112 + (k - Qt::Key_F1);
    switch (k) {
        case Qt::Key_Backspace:
            return 8;
        case Qt::Key_Tab:
            return 9;
        case Qt::Key_Return:
        case Qt::Key_Enter:
            return 13;
        case Qt::Key_Shift:
            return 16;
        case Qt::Key_Control:
            return 17;
        case Qt::Key_Alt:
            return 18;
        case Qt::Key_Escape:
            return 27;
        case Qt::Key_Space:
            return 32;
        case Qt::Key_PageUp:
            return 33;
        case Qt::Key_PageDown:
            return 34;
        case Qt::Key_End:
            return 35;
        case Qt::Key_Home:
            return 36;
        case Qt::Key_Left:
            return 37;
        case Qt::Key_Up:
            return 38;
        case Qt::Key_Right:
            return 39;
        case Qt::Key_Down:
            return 40;
        case Qt::Key_Insert:
            return 45;
        case Qt::Key_Delete:
            return 46;
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

Qt::CursorShape cursorOf(forms::MousePointer p) {
    switch (p) {
        case forms::MousePointer::Hourglass:
            return Qt::WaitCursor;
        case forms::MousePointer::SizeWE:
            return Qt::SizeHorCursor;
        default:
            return Qt::ArrowCursor;
    }
}

// Keeps the flag raised while the model's state goes into the widgets, so
// their change signals are not taken for the user's doing.
struct Applying {
    explicit Applying(int& n) : n_(n) { ++n_; }
    ~Applying() { --n_; }
    int& n_;
};

}  // namespace

FormWindow::FormWindow(forms::Form& form, QWidget* parent) : QMainWindow(parent), form_(form) {
    Applying guard(applying_);
    // The IPA fonts have no Hangul: Korean names are drawn from a gothic
    // face that has it rather than as boxes.
    for (const char* family : {"IPAGothic", "IPAPGothic"})
        if (QFont::substitutes(QString::fromLatin1(family)).isEmpty())
            QFont::insertSubstitutions(QString::fromLatin1(family),
                                       {QStringLiteral("LexiGulim"), QStringLiteral("NanumGothic")});
    client_ = new QWidget(this);
    client_->setMouseTracking(true);
    client_->installEventFilter(this);
    setCentralWidget(client_);
    QFont base(substituteFont(QStringLiteral("ＭＳ Ｐゴシック")), 9);
    setFont(base);
    for (const auto& c : form_.controls()) {
        QWidget* parentWidget = c->container() ? widgetOf(*c->container()) : client_;
        if (c->kind() == Kind::Timer) {
            auto* t = new QTimer(this);
            forms::Timer* timer = static_cast<forms::Timer*>(c.get());
            connect(t, &QTimer::timeout, this, [timer] { timer->tick(); });
            timers_[c.get()] = t;
            applyTimer(*c);
            continue;
        }
        QWidget* w = create(*c, parentWidget);
        widgets_[c.get()] = w;
        controls_[w] = c.get();
        w->setMouseTracking(true);
        w->installEventFilter(this);
        // A move over a control is that control's event, not the window's or
        // its frame's as well.
        w->setAttribute(Qt::WA_NoMousePropagation);
        applyGeometry(*c);
        applyText(*c);
        changed(*c, Prop::Font);
        changed(*c, Prop::ForeColor);
        if (c->backColor() != forms::kDefaultColor) changed(*c, Prop::BackColor);
        w->setVisible(c->visible());
        w->setEnabled(c->enabled());
    }
    if (form_.menus().empty()) {
        setWindowFlag(Qt::Dialog);
    } else {
        buildMenus();
    }
    setWindowTitle(form_.caption());
    applyFormGeometry();
    form_.setObserver(this);
}

FormWindow::~FormWindow() {
    dying_ = true;  // the widgets' last events reach no handler
    form_.setObserver(nullptr);
}

QWidget* FormWindow::widgetOf(const Control& c) const {
    const auto it = widgets_.find(&c);
    return it == widgets_.end() ? nullptr : it->second;
}

Control* FormWindow::controlOf(QObject* o) const {
    const auto it = controls_.find(o);
    return it == controls_.end() ? nullptr : it->second;
}

QWidget* FormWindow::create(Control& c, QWidget* parent) {
    switch (c.kind()) {
        case Kind::Label: {
            auto* l = new QLabel(parent);
            l->setAlignment(Qt::AlignLeft | Qt::AlignTop);
            return l;
        }
        case Kind::Button: {
            auto* b = new QPushButton(parent);
            connect(b, &QPushButton::clicked, this, [&c] { c.raiseClick(); });
            return b;
        }
        case Kind::OptionButton: {
            auto& option = static_cast<forms::OptionButton&>(c);
            auto* b = new QRadioButton(parent);
            b->setAutoExclusive(false);  // the model keeps its group exclusive
            connect(b, &QRadioButton::clicked, this, [this, b, &option] {
                option.setValue(true);
                Applying guard(applying_);
                b->setChecked(option.value());
            });
            return b;
        }
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
            return f;
        }
        case Kind::Line:
            return new LineWidget(parent);
        case Kind::TextBox: {
            auto& box = static_cast<forms::TextBox&>(c);
            if (box.multiLine()) {
                auto* e = new QPlainTextEdit(parent);
                e->setReadOnly(box.locked());
                // Message boxes are sized for their text, as the design has
                // them: no scroll bars, a thin margin.
                e->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
                e->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
                e->document()->setDocumentMargin(1);
                controls_[e->viewport()] = &c;
                e->viewport()->setMouseTracking(true);
                e->viewport()->installEventFilter(this);
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
        case Kind::ComboBox: {
            auto& box = static_cast<forms::ComboBox&>(c);
            auto* cb = new QComboBox(parent);
            cb->setEditable(true);
            cb->setInsertPolicy(QComboBox::NoInsert);
            connect(cb->lineEdit(), &QLineEdit::textEdited, this,
                    [&box](const QString& t) { box.typed(t); });
            connect(cb, qOverload<int>(&QComboBox::activated), this, [this, cb, &box](int i) {
                box.picked(i);
                Applying guard(applying_);
                cb->setEditText(box.text());
            });
            controls_[cb->lineEdit()] = &c;
            cb->lineEdit()->installEventFilter(this);
            return cb;
        }
        case Kind::DriveList: {
            auto& box = static_cast<forms::DriveListBox&>(c);
            auto* cb = new QComboBox(parent);
            connect(cb, qOverload<int>(&QComboBox::activated), this, [this, &box](int i) {
                box.picked(i);
                applyText(box);  // a failed change may have put the old drive back
            });
            return cb;
        }
        case Kind::DirList: {
            auto& box = static_cast<forms::DirListBox&>(c);
            auto* list = new QListWidget(parent);
            connect(list, &QListWidget::itemClicked, this, [&box](QListWidgetItem* item) {
                box.setListIndexFromUser(item->data(Qt::UserRole).toInt());
                box.raiseClick();
            });
            controls_[list->viewport()] = &c;
            list->viewport()->setMouseTracking(true);
            list->viewport()->installEventFilter(this);
            return list;
        }
        case Kind::FileList: {
            auto& box = static_cast<forms::FileListBox&>(c);
            auto* list = new QListWidget(parent);
            connect(list, &QListWidget::itemClicked, this,
                    [list, &box](QListWidgetItem* item) { box.picked(list->row(item)); });
            controls_[list->viewport()] = &c;
            list->viewport()->setMouseTracking(true);
            list->viewport()->installEventFilter(this);
            return list;
        }
        case Kind::ListBox: {
            auto* view = new QListView(parent);
            wireListBox(c, view);
            return view;
        }
        case Kind::Timer:
            break;
    }
    return new QWidget(parent);
}

void FormWindow::wireListBox(Control& c, QWidget* w) {
    auto& box = static_cast<forms::ListBox&>(c);
    auto* view = static_cast<QListView*>(w);
    auto* model = new ListBoxModel(box, view);
    models_[&c] = model;
    view->setModel(model);
    view->setUniformItemSizes(true);
    view->setVerticalScrollMode(QAbstractItemView::ScrollPerItem);
    view->setHorizontalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    view->setEditTriggers(QAbstractItemView::NoEditTriggers);
    view->setSelectionMode(box.multiSelect() ? QAbstractItemView::ExtendedSelection
                                             : QAbstractItemView::SingleSelection);
    view->setLayoutMode(QListView::SinglePass);
    controls_[view->viewport()] = &c;
    view->viewport()->setMouseTracking(true);
    view->viewport()->installEventFilter(this);
    connect(view->verticalScrollBar(), &QScrollBar::valueChanged, this, [this, &box](int v) {
        if (!applying_) box.setTopIndexFromUser(v);
    });
    connect(view->selectionModel(), &QItemSelectionModel::selectionChanged, this,
            [this, &box](const QItemSelection& on, const QItemSelection& off) {
                if (applying_) return;
                for (const QItemSelectionRange& r : off)
                    for (int i = r.top(); i <= r.bottom(); ++i) box.setSelectedFromUser(i, false);
                for (const QItemSelectionRange& r : on)
                    for (int i = r.top(); i <= r.bottom(); ++i) box.setSelectedFromUser(i, true);
            });
    connect(view->selectionModel(), &QItemSelectionModel::currentChanged, this,
            [this, &box](const QModelIndex& now) {
                if (!applying_) box.setListIndexFromUser(now.isValid() ? now.row() : -1);
            });
    connect(view, &QListView::clicked, this, [&box] { box.raiseClick(); });
}

void FormWindow::applyGeometry(Control& c) {
    QWidget* w = widgetOf(c);
    if (!w) return;
    Applying guard(applying_);
    if (c.kind() == Kind::Line) {
        const auto& l = static_cast<const forms::Line&>(c);
        const QPoint a(toPixels(l.x1()), toPixels(l.y1()));
        const QPoint b(toPixels(l.x2()), toPixels(l.y2()));
        const QRect box = QRect(a, b).normalized();
        w->setGeometry(box.x(), box.y(), box.width() + 1, box.height() + 1);
        static_cast<LineWidget*>(w)->setEnds(a - box.topLeft(), b - box.topLeft());
        return;
    }
    w->setGeometry(toPixels(c.left()), toPixels(c.top()), std::max(0, toPixels(c.width())),
                   std::max(0, toPixels(c.height())));
}

void FormWindow::applyText(Control& c) {
    QWidget* w = widgetOf(c);
    if (!w) return;
    Applying guard(applying_);
    switch (c.kind()) {
        case Kind::Label:
            static_cast<QLabel*>(w)->setText(c.text());
            break;
        case Kind::Button:
            static_cast<QPushButton*>(w)->setText(c.text());
            break;
        case Kind::OptionButton:
            static_cast<QRadioButton*>(w)->setText(c.text());
            static_cast<QRadioButton*>(w)->setChecked(
                static_cast<const forms::OptionButton&>(c).value());
            break;
        case Kind::CheckBox:
            static_cast<QCheckBox*>(w)->setText(c.text());
            static_cast<QCheckBox*>(w)->setChecked(static_cast<const forms::CheckBox&>(c).value());
            break;
        case Kind::Frame:
            if (auto* g = qobject_cast<QGroupBox*>(w)) g->setTitle(c.text());
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
            if (cb->currentText() != c.text()) cb->setEditText(c.text());
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
            cb->addItems(static_cast<const forms::ComboBox&>(c).items());
            cb->setEditText(text);
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
            if (ListBoxModel* m = models_[&c]) m->itemsReset();
            break;
        default:
            break;
    }
}

void FormWindow::applySelection(Control& c) {
    auto* view = qobject_cast<QListView*>(widgetOf(c));
    ListBoxModel* model = models_[&c];
    if (!view || !model) return;
    Applying guard(applying_);
    model->catchUp();
    const auto& box = static_cast<const forms::ListBox&>(c);
    QItemSelection selection;
    if (box.anySelected()) {
        int start = -1;
        for (int i = 0; i <= box.listCount(); ++i) {
            const bool on = i < box.listCount() && box.selected(i);
            if (on && start < 0) start = i;
            if (!on && start >= 0) {
                selection.select(model->index(start), model->index(i - 1));
                start = -1;
            }
        }
    }
    view->selectionModel()->select(selection, QItemSelectionModel::ClearAndSelect);
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
        case Prop::Visible:
            w->setVisible(c.visible());
            break;
        case Prop::Enabled:
            w->setEnabled(c.enabled());
            break;
        case Prop::Text:
            applyText(c);
            break;
        case Prop::ForeColor: {
            QPalette p = w->palette();
            const QColor color = QColor::fromRgb(c.foreColor());
            p.setColor(QPalette::WindowText, color);
            p.setColor(QPalette::Text, color);
            p.setColor(QPalette::ButtonText, color);
            w->setPalette(p);
            break;
        }
        case Prop::BackColor: {
            QPalette p = w->palette();
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
            break;
        }
        case Prop::Font:
            if (!c.font().name.isEmpty())
                w->setFont(QFont(substituteFont(c.font().name), c.font().points));
            break;
        case Prop::ItemsAppended:
            if (const auto it = models_.find(&c); it != models_.end()) it->second->itemsAppended();
            break;
        case Prop::ItemsReset:
            if (c.kind() == Kind::DirList || c.kind() == Kind::FileList) {
                // Often raised from a click on one of the rows it replaces:
                // rebuild once the click has been handled.
                QTimer::singleShot(0, this, [this, &c] { applyItems(c); });
            } else {
                applyItems(c);
            }
            break;
        case Prop::Selection:
            applySelection(c);
            break;
        case Prop::TopIndex:
            if (auto* view = qobject_cast<QListView*>(w)) {
                Applying guard(applying_);
                if (ListBoxModel* m = models_[&c]) m->catchUp();
                view->verticalScrollBar()->setValue(static_cast<forms::ListBox&>(c).topIndex());
            }
            break;
        case Prop::ListIndex:
            if (auto* view = qobject_cast<QListView*>(w)) {
                Applying guard(applying_);
                if (ListBoxModel* m = models_[&c]) {
                    m->catchUp();
                    view->selectionModel()->setCurrentIndex(
                        m->index(static_cast<forms::ListBox&>(c).listIndex()),
                        QItemSelectionModel::NoUpdate);
                }
            }
            break;
        case Prop::MousePointer:
            w->setCursor(cursorOf(c.mousePointer()));
            break;
        case Prop::Focus:
            if (auto* cb = qobject_cast<QComboBox*>(w); cb && cb->lineEdit()) {
                cb->lineEdit()->setFocus();
            } else {
                w->setFocus();
                // A box given the focus by the program is ready to be typed over.
                if (auto* e = qobject_cast<QLineEdit*>(w)) e->selectAll();
            }
            break;
        default:
            break;
    }
}

void FormWindow::buildMenus() {
    for (const auto& top : form_.menus()) {
        QMenu* menu = menuBar()->addMenu(top->caption());
        std::function<void(QMenu*, const forms::Menu&)> fill = [&](QMenu* into,
                                                                   const forms::Menu& m) {
            for (const auto& item : m.items()) {
                if (!item->items().empty()) {
                    fill(into->addMenu(item->caption()), *item);
                    continue;
                }
                forms::Menu* target = item.get();
                into->addAction(item->caption(), this, [target] { target->raiseClick(); });
            }
        };
        fill(menu, *top);
    }
}

void FormWindow::applyFormGeometry() {
    Applying guard(applying_);
    const int w = std::max(1, toPixels(form_.width() - kFrameWidth));
    const int h = std::max(1, toPixels(form_.height() - frameHeightOf(form_)));
    if (form_.menus().empty()) {
        // A dialog keeps the size it was laid out for.
        setFixedSize(w, h);
    } else {
        const int menu =
            menuBar()->isVisible() || !isVisible() ? menuBar()->sizeHint().height() : 0;
        if (size() != QSize(w, h + menu)) resize(w, h + menu);
    }
    const QPoint at(toPixels(form_.left()), toPixels(form_.top()));
    if (pos() != at) move(at);
}

void FormWindow::formChanged(forms::Form& form, Prop what) {
    switch (what) {
        case Prop::Geometry:
            applyFormGeometry();
            break;
        case Prop::Text:
            setWindowTitle(form.caption());
            break;
        case Prop::Visible:
            if (form.visible()) {
                show();
                raise();
                activateWindow();
            } else {
                hide();
            }
            break;
        case Prop::Focus:
            raise();
            activateWindow();
            break;
        case Prop::Enabled:
            setEnabled(form.enabled());
            break;
        case Prop::MousePointer:
            client_->setCursor(cursorOf(form.mousePointer()));
            break;
        default:
            break;
    }
}

void FormWindow::resizeEvent(QResizeEvent* event) {
    QMainWindow::resizeEvent(event);
    if (applying_) return;
    const QSize client = centralWidget()->size();
    const int w = client.width() * kTwipsPerPixel + kFrameWidth;
    const int h = client.height() * kTwipsPerPixel + frameHeightOf(form_);
    if (w == form_.width() && h == form_.height()) return;
    form_.resizedByUser(w, h);
    // The layout may have refused the size (the minimum); show what it kept.
    applyFormGeometry();
}

void FormWindow::moveEvent(QMoveEvent* event) {
    QMainWindow::moveEvent(event);
    // Only the user moves a shown window; the moves of placing it come before.
    if (!applying_ && isVisible())
        form_.movedByUser(pos().x() * kTwipsPerPixel, pos().y() * kTwipsPerPixel);
}

void FormWindow::closeEvent(QCloseEvent* event) {
    form_.close();
    event->accept();
}

void FormWindow::changeEvent(QEvent* event) {
    QMainWindow::changeEvent(event);
    if (event->type() == QEvent::WindowStateChange) {
        const Qt::WindowStates s = windowState();
        form_.stateChangedByUser(s & Qt::WindowMinimized   ? forms::WindowState::Minimized
                                 : s & Qt::WindowMaximized ? forms::WindowState::Maximized
                                                           : forms::WindowState::Normal);
    } else if (event->type() == QEvent::ActivationChange && isActiveWindow()) {
        form_.activatedByUser();
    }
}

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
        case QEvent::MouseButtonDblClick: {
            auto* m = static_cast<QMouseEvent*>(event);
            const int x = qRound(m->position().x()) * kTwipsPerPixel;
            const int y = qRound(m->position().y()) * kTwipsPerPixel;
            const int shift = shiftOf(m->modifiers());
            if (event->type() == QEvent::MouseButtonPress)
                c->raiseMouseDown(buttonsOf(m->button()), shift, x, y);
            else if (event->type() == QEvent::MouseButtonRelease) {
                c->raiseMouseUp(buttonsOf(m->button()), shift, x, y);
                // Labels and text boxes have no click signal of their own.
                if ((c->kind() == Kind::Label || c->kind() == Kind::TextBox) &&
                    m->button() == Qt::LeftButton &&
                    static_cast<QWidget*>(watched)->rect().contains(m->position().toPoint()))
                    c->raiseClick();
            } else if (event->type() == QEvent::MouseMove)
                c->raiseMouseMove(buttonsOf(m->buttons()), shift, x, y);
            else if (c->kind() != Kind::Button)
                c->raiseDblClick();
            break;
        }
        case QEvent::KeyPress: {
            auto* k = static_cast<QKeyEvent*>(event);
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
