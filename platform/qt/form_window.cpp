#include "platform/qt/form_window.h"

#include "platform/forms/shown_text.h"

#include "platform/forms/basic_controls.h"
#include "platform/qt/accessible.h"
#include "platform/qt/form_window_shared.h"

#include <QCloseEvent>
#include <QMenuBar>
#include <QProxyStyle>
#include <QScreen>
#include <QShortcut>
#include <QStyleOptionMenuItem>
#include <QTimer>
#include <QWindow>

#include <algorithm>
#include <cmath>
#include <functional>
#include <tuple>

// The window itself: its controls' widgets made once, its size and place,
// its menus and the window events that go back into the form.

namespace qtbind {

namespace {

// The title the keyboard is on after Alt is drawn as an open one, so the
// user sees where Alt went (Fusion marks a title only while its menu is open).
class MenuBarStyle : public QProxyStyle {
  public:
    int styleHint(StyleHint hint, const QStyleOption* option, const QWidget* widget,
                  QStyleHintReturn* data) const override {
        if (hint == SH_MenuBar_AltKeyNavigation) return 1;
        return QProxyStyle::styleHint(hint, option, widget, data);
    }
    void drawControl(ControlElement element, const QStyleOption* option, QPainter* painter,
                     const QWidget* widget) const override {
        const auto* item = qstyleoption_cast<const QStyleOptionMenuItem*>(option);
        if (element == CE_MenuBarItem && item && (item->state & State_Selected) && widget &&
            widget->hasFocus()) {
            QStyleOptionMenuItem keyboard = *item;
            keyboard.state |= State_Sunken;
            QProxyStyle::drawControl(element, &keyboard, painter, widget);
            return;
        }
        QProxyStyle::drawControl(element, option, painter, widget);
    }
};

}  // namespace

using forms::Control;
using forms::Kind;
using forms::Prop;

int toPixels(int twips) {
    return qRound(twips / double(kTwipsPerPixel));
}

QString substituteFont(const QString& name) {
    if (name == QStringLiteral("ＭＳ ゴシック")) return QStringLiteral("IPAGothic");
    if (name == QStringLiteral("ＭＳ Ｐゴシック")) return QStringLiteral("IPAPGothic");
    return name;
}

namespace {

// The smallest step of logical pixels that is a whole number of device
// pixels at this scale factor (1 at 1 and 2, 2 at 1.5, 4 at 1.25 and 1.75):
// edges placed on it land on device pixels, so a fractional scale neither
// clips a control's last row nor lets neighbours overlap.
int pixelGrid(double ratio) {
    for (int step = 1; step <= 8; ++step)
        if (std::abs(step * ratio - std::round(step * ratio)) < 1e-6) return step;
    return 1;
}

// The IPA fonts have no Hangul: Korean names are drawn from a gothic face
// that has it rather than as boxes.
void substituteHangul() {
    for (const char* family : {"IPAGothic", "IPAPGothic"})
        if (QFont::substitutes(QString::fromLatin1(family)).isEmpty())
            QFont::insertSubstitutions(
                QString::fromLatin1(family),
                {QStringLiteral("LexiGulim"), QStringLiteral("NanumGothic")});
}

}  // namespace

FormWindow::FormWindow(forms::Form& form, QWidget* parent) : QMainWindow(parent), form_(form) {
    Applying guard(applying_);
    grid_ = pixelGrid(devicePixelRatioF());
    substituteHangul();
    installAccessibility();
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
        describe(*c, w);
        w->setVisible(c->visible());
        w->setEnabled(c->enabled());
    }
    for (const auto& c : form_.controls())
        if (c->accessibleLabel) labelWith(widgetOf(*c->accessibleLabel), widgetOf(*c));
    joinTables();
    // Lines are created in the order of the table like any control; an opaque
    // label sits above them whatever came first.
    for (const auto& c : form_.controls())
        if (c->kind() == Kind::Label && static_cast<forms::Label&>(*c).opaque)
            widgetOf(*c)->raise();
    if (form_.menus().empty()) {
        setWindowFlag(Qt::Dialog);
    } else {
        buildMenus();
    }
    setWindowTitle(forms::shown(form_.caption()));
    orderTabs();
    applyFormGeometry();
    form_.setObserver(this);
}

// Tab and Shift+Tab follow the screen: rows from top to bottom (controls
// whose tops lie within 300 twips of a row's first share it), each from left
// to right. Controls stacked edge to edge in a column (a path box over a
// drive list over a folder tree over a file list) are visited one after
// the other from the top one's place in its row, before the row below.
// Controls that are no tab stop take the focus only from a click.
void FormWindow::orderTabs() {
    struct Stop {
        QRect at;  // in twips, in the form's client area
        QWidget* widget;
        int head;            // the top stop of its column stack
        int depth = 0;       // its place in the stack
        bool below = false;  // another stop is stacked under it
        int row = 0;
    };
    std::vector<Stop> stops;
    for (const auto& c : form_.controls()) {
        QWidget* w = widgetOf(*c);
        if (!w || !(w->focusPolicy() & Qt::TabFocus)) continue;
        if (!c->tabStop) {
            w->setFocusPolicy(c->kind() == Kind::Button ? Qt::NoFocus : Qt::ClickFocus);
            continue;
        }
        QRect at(c->left(), c->top(), c->width(), c->height());
        for (const Control* in = c->container(); in; in = in->container())
            at.translate(in->left(), in->top());
        stops.push_back({at, w, 0});
    }
    std::stable_sort(stops.begin(), stops.end(),
                     [](const Stop& a, const Stop& b) { return a.at.top() < b.at.top(); });
    constexpr int kStacked = 60;  // the most twips between stacked controls
    for (size_t i = 0; i < stops.size(); ++i) {
        Stop& s = stops[i];
        s.head = static_cast<int>(i);
        for (size_t j = 0; j < i; ++j) {
            Stop& above = stops[j];
            const int gap = s.at.top() - (above.at.top() + above.at.height());
            const bool overlap = s.at.left() < above.at.left() + above.at.width() &&
                                 above.at.left() < s.at.left() + s.at.width();
            if (above.below || !overlap || gap < 0 || gap > kStacked) continue;
            above.below = true;
            s.head = above.head;
            s.depth = above.depth + 1;
            break;
        }
    }
    int rowTop = stops.empty() ? 0 : stops[0].at.top();
    for (Stop& s : stops) {
        if (s.head != &s - stops.data()) continue;
        if (s.at.top() - rowTop > 300) rowTop = s.at.top();
        s.row = rowTop;
    }
    for (Stop& s : stops) s.row = stops[s.head].row;
    const auto key = [&](const Stop& s) {
        return std::make_tuple(s.row, stops[s.head].at.left(), s.head, s.depth);
    };
    std::vector<const Stop*> order;
    for (const Stop& s : stops) order.push_back(&s);
    std::stable_sort(order.begin(), order.end(),
                     [&](const Stop* a, const Stop* b) { return key(*a) < key(*b); });
    for (size_t i = 1; i < order.size(); ++i)
        QWidget::setTabOrder(order[i - 1]->widget, order[i]->widget);
}

int FormWindow::snap(int twips) const {
    if (grid_ == 1) return toPixels(twips);
    return grid_ * static_cast<int>(std::lround(twips / double(kTwipsPerPixel * grid_)));
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

void FormWindow::buildMenus() {
    // The keyboard reaches the menus as in any desktop program: Alt moves to
    // the menu bar, Alt and a title's first letter opens that menu, F10 the
    // first one.
    static MenuBarStyle* const style = new MenuBarStyle;
    menuBar()->setStyle(style);
    auto* f10 = new QShortcut(QKeySequence(Qt::Key_F10), this);
    connect(f10, &QShortcut::activated, this, [this] {
        if (QAction* first = menuBar()->actions().value(0)) menuBar()->setActiveAction(first);
    });
    for (const auto& top : form_.menus()) {
        QString title = forms::shown(top->caption());
        if (!title.contains(u'&')) title.prepend(u'&');
        QMenu* menu = menuBar()->addMenu(title);
        std::function<void(QMenu*, const forms::Menu&)> fill = [&](QMenu* into,
                                                                   const forms::Menu& m) {
            for (const auto& item : m.items()) {
                if (!item->items().empty()) {
                    fill(into->addMenu(forms::shown(item->caption())), *item);
                    continue;
                }
                forms::Menu* target = item.get();
                into->addAction(forms::shown(item->caption()), this,
                                [target] { target->raiseClick(); });
            }
        };
        fill(menu, *top);
    }
}

QSize FormWindow::clientPixels() const {
    return {std::max(1, snap(form_.width() - kFrameWidth)),
            std::max(1, snap(form_.height() - frameHeightOf(form_)))};
}

QPoint FormWindow::placePixels() const {
    return {toPixels(form_.left()), toPixels(form_.top())};
}

void FormWindow::applyFormGeometry() {
    Applying guard(applying_);
    const QSize client = clientPixels();
    const int w = client.width(), h = client.height();
    if (form_.menus().empty()) {
        // A dialog keeps the size it was laid out for.
        setFixedSize(w, h);
    } else {
        const int menu =
            menuBar()->isVisible() || !isVisible() ? menuBar()->sizeHint().height() : 0;
        if (size() != QSize(w, h + menu)) resize(w, h + menu);
    }
    if (pos() != placePixels()) move(placePixels());
}

// A window opens inside the available area of its screen: smaller than
// its design where the screen has no room for it (the layout gives way as
// after a resize by the user), and moved in from the edges. The window
// manager's frame is known once the window was shown; before, a title bar
// and thin borders are allowed for.
void FormWindow::fitToScreen() {
    const QScreen* screen = this->screen();
    if (!screen) return;
    const QRect area = screen->availableGeometry();
    QMargins frame = windowHandle() ? windowHandle()->frameMargins() : QMargins();
    if (frame.isNull()) frame = QMargins(4, 30, 4, 4);
    const int menu = form_.menus().empty() ? 0 : menuBar()->sizeHint().height();
    const QSize room(area.width() - frame.left() - frame.right(),
                     area.height() - frame.top() - frame.bottom() - menu);
    // The form's outer size holds its design frame and menu bar in twips.
    form_.setRoom(room.width() * kTwipsPerPixel + kFrameWidth,
                  room.height() * kTwipsPerPixel + frameHeightOf(form_));
    if (!form_.menus().empty() &&
        (form_.width() > form_.roomWidth() || form_.height() > form_.roomHeight()))
        form_.resizedByUser(std::min(form_.width(), form_.roomWidth()),
                            std::min(form_.height(), form_.roomHeight()));
    const QSize outer =
        clientPixels() + QSize(frame.left() + frame.right(), frame.top() + frame.bottom() + menu);
    const QPoint place = placePixels();
    const QPoint at(
        std::clamp(place.x(), area.left(), std::max(area.left(), area.right() + 1 - outer.width())),
        std::clamp(place.y(), area.top(),
                   std::max(area.top(), area.bottom() + 1 - outer.height())));
    if (at != place) form_.movedByUser(at.x() * kTwipsPerPixel, at.y() * kTwipsPerPixel);
    applyFormGeometry();
}

void FormWindow::formChanged(forms::Form& form, Prop what) {
    switch (what) {
        case Prop::Geometry:
            applyFormGeometry();
            break;
        case Prop::Text:
            setWindowTitle(forms::shown(form.caption()));
            break;
        case Prop::Visible:
            if (!form.visible()) {
                hideAndHandBack();
                break;
            }
            fitToScreen();
            show();
            [[fallthrough]];  // a form shown comes to the front
        case Prop::Focus:
            raise();
            activateWindow();
            break;
        case Prop::Enabled:
            // Disabled, the window's controls lose the focus: the one that
            // had it (most often the one that opened a dialog) gets it back.
            if (!form.enabled() && !focusBack_) focusBack_ = focusWidget();
            setEnabled(form.enabled());
            giveFocusBack();
            break;
        case Prop::MousePointer:
            client_->setCursor(cursorOf(form.mousePointer()));
            break;
        default:
            break;
    }
}

// A dialog that goes away while active hands the activation back to the
// window it belongs to. A window system that kept it on the hidden window
// would not move it when the dialog shows again, and the dialog would open
// without the focus: what the user typed at once would go nowhere.
void FormWindow::hideAndHandBack() {
    const bool wasActive = isActiveWindow();
    hide();
    QWindow* owner = windowHandle() ? windowHandle()->transientParent() : nullptr;
    if (wasActive && owner && owner->isVisible()) owner->requestActivate();
}

void FormWindow::resizeEvent(QResizeEvent* event) {
    QMainWindow::resizeEvent(event);
    if (applying_) return;
    // A window manager rounds a size to its steps of whole device pixels, so
    // a side may come back up to a grid step off what the form's twips put on
    // screen: it keeps those twips, or every close and reopen would move the
    // size. A side further off is the user's.
    const QSize client = centralWidget()->size();
    const QSize put = clientPixels();
    const int w = std::abs(client.width() - put.width()) < grid_
                      ? form_.width()
                      : client.width() * kTwipsPerPixel + kFrameWidth;
    const int h = std::abs(client.height() - put.height()) < grid_
                      ? form_.height()
                      : client.height() * kTwipsPerPixel + frameHeightOf(form_);
    if (w == form_.width() && h == form_.height()) {
        // The controls at the client's edges keep inside what is shown.
        for (const auto& c : form_.controls())
            if (!c->container()) applyGeometry(*c);
        return;
    }
    form_.resizedByUser(w, h);
    // The layout may have refused the size (the minimum); show what it kept.
    applyFormGeometry();
}

void FormWindow::moveEvent(QMoveEvent* event) {
    QMainWindow::moveEvent(event);
    // Only the user moves a shown window; the moves of placing it come before.
    if (applying_ || !isVisible()) return;
    // At a fractional scale the frame's margins are rounded to logical
    // pixels: a place one pixel off where the form's twips put it keeps them.
    const int slack = grid_ > 1 ? 1 : 0;
    const QPoint put = placePixels();
    form_.movedByUser(
        std::abs(pos().x() - put.x()) <= slack ? form_.left() : pos().x() * kTwipsPerPixel,
        std::abs(pos().y() - put.y()) <= slack ? form_.top() : pos().y() * kTwipsPerPixel);
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
        giveFocusBack();
        focusBack_ = nullptr;  // the window is the user's again
        form_.activatedByUser();
    }
}

void FormWindow::giveFocusBack() {
    QWidget* w = focusBack_;
    if (!w || !w->isEnabled() || !w->isVisibleTo(this)) return;
    focusBack_ = nullptr;
    // In a window that is not active this only names the widget that takes
    // the focus when it is.
    w->setFocus(Qt::OtherFocusReason);
}

}  // namespace qtbind
