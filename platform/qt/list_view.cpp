#include "platform/qt/list_view.h"

#include "platform/codepage/cp932.h"
#include "platform/qt/list_view_accessible.h"

#include <QFocusEvent>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QScrollBar>
#include <QStyleOptionFocusRect>
#include <QTimer>

#include <algorithm>

namespace qtbind {

namespace {
// Text starts this far inside the frame, as an item view's does.
constexpr int kMargin = 1;

QHash<const forms::ListBox*, ListBoxView*>& views() {
    static QHash<const forms::ListBox*, ListBoxView*> all;
    return all;
}

// Raised while a view scrolls the other columns of its table with it.
bool scrollingTable = false;
}  // namespace

ListBoxView::ListBoxView(forms::ListBox& box, QWidget* parent)
    : QAbstractScrollArea(parent), box_(box), shown_(box.listCount()) {
    setFocusPolicy(Qt::StrongFocus);
    measureFont();
    updateScrollBars();
    views().insert(&box, this);
}

ListBoxView::~ListBoxView() {
    if (views().value(&box_) == this) views().remove(&box_);
}

ListBoxView* ListBoxView::of(const forms::ListBox& box) {
    return views().value(&box);
}

ListBoxView* ListBoxView::tableView() const {
    const auto& columns = box_.rowColumns();
    ListBoxView* first = columns.empty() ? nullptr : of(*columns.front());
    return first ? first : const_cast<ListBoxView*>(this);
}

std::vector<ListBoxView*> ListBoxView::partners() const {
    std::vector<ListBoxView*> others;
    for (const forms::ListBox* column : box_.rowColumns())
        if (ListBoxView* v = of(*column); v && v != this) others.push_back(v);
    return others;
}

void ListBoxView::setAnchor(int row) {
    anchor_ = row;
    for (ListBoxView* p : partners()) p->anchor_ = row;
}

void ListBoxView::measureFont() {
    const QFontMetrics fm(font());
    rowHeight_ = std::max(1, fm.height());
    cellWidth_ = std::max(1, fm.horizontalAdvance(u'0'));
    ascent_ = fm.ascent();
    advances_.clear();
}

int ListBoxView::fullRowsShown() const {
    return std::max(1, viewport()->height() / rowHeight_);
}

void ListBoxView::updateScrollBars() {
    const int full = fullRowsShown();
    QScrollBar* v = verticalScrollBar();
    v->setRange(0, std::max(0, shown_ - full));
    v->setPageStep(full);
    v->setSingleStep(1);
    const qint64 widest = qint64(box_.widestItem()) * cellWidth_ + 2 * kMargin;
    QScrollBar* h = horizontalScrollBar();
    h->setRange(0, int(std::clamp<qint64>(widest - viewport()->width(), 0, 1 << 24)));
    h->setPageStep(viewport()->width());
    h->setSingleStep(cellWidth_);
}

void ListBoxView::itemsAppended() {
    if (scheduled_) return;
    scheduled_ = true;
    const qint64 since = sinceCatchUp_.isValid() ? sinceCatchUp_.elapsed() : kBatchMs;
    const int wait = since >= kBatchMs ? 0 : static_cast<int>(kBatchMs - since);
    QTimer::singleShot(wait, this, [this] { catchUp(); });
}

void ListBoxView::itemsReset() {
    box_.appendsShown();
    shown_ = box_.listCount();
    anchor_ = pressed_ = -1;
    updateScrollBars();
    viewport()->update();
    accessibleRowsReset(this);
}

void ListBoxView::catchUp() {
    scheduled_ = false;
    sinceCatchUp_.start();
    box_.appendsShown();
    const int count = box_.listCount();
    if (count == shown_) return;
    if (count < shown_) return itemsReset();
    const int before = shown_;
    shown_ = count;
    updateScrollBars();
    accessibleRowsAdded(this, before, count - 1);
    // Only rows that land in the view are drawn again.
    if (before < verticalScrollBar()->value() + fullRowsShown() + 1) viewport()->update();
}

void ListBoxView::showSelection() {
    viewport()->update();
    for (ListBoxView* p : partners()) p->viewport()->update();
    accessibleCursorMoved(tableView());
}

void ListBoxView::setTopRow(int row) {
    verticalScrollBar()->setValue(row);
}

QRect ListBoxView::rowRect(int row) const {
    return {0, (row - verticalScrollBar()->value()) * rowHeight_, viewport()->width(), rowHeight_};
}

int ListBoxView::rowAt(QPoint at) const {
    if (at.y() < 0) return -1;
    const int row = verticalScrollBar()->value() + at.y() / rowHeight_;
    return row < shown_ ? row : -1;
}

void ListBoxView::ensureVisible(int row) {
    QScrollBar* v = verticalScrollBar();
    if (row < v->value())
        v->setValue(row);
    else if (row >= v->value() + fullRowsShown())
        v->setValue(row - fullRowsShown() + 1);
}

// ---- Drawing

int ListBoxView::cellsOf(char32_t ch) {
    if (ch < 0x80) return 1;
    const auto it = cells_.constFind(ch);
    if (it != cells_.constEnd()) return *it;
    const QString text = QString::fromUcs4(&ch, 1);
    const int cells = codepage::cp932Length(text) == 2 ? 2 : 1;
    cells_.insert(ch, cells);
    return cells;
}

namespace {

// Marks, joiners, conjoining jamo and right-to-left letters change the
// glyphs around them when shaped together (a mark joins the letter before
// it, a run is reordered): drawn alone, each keeps the cell the listing
// counts for it.
bool shapesWithNeighbours(char32_t ch) {
    switch (QChar::category(ch)) {
        case QChar::Mark_NonSpacing:
        case QChar::Mark_SpacingCombining:
        case QChar::Mark_Enclosing:
        case QChar::Other_Format:
        case QChar::Other_Control:
            return true;
        default:
            break;
    }
    if ((ch >= 0x1100 && ch <= 0x11FF) || (ch >= 0xA960 && ch <= 0xA97F) ||
        (ch >= 0xD7B0 && ch <= 0xD7FF))
        return true;
    const QChar::Direction d = QChar::direction(ch);
    return d == QChar::DirR || d == QChar::DirAL;
}

}  // namespace

int ListBoxView::advanceOf(char32_t ch, QStringView text) {
    const auto it = advances_.constFind(ch);
    if (it != advances_.constEnd()) return *it;
    const int advance = QFontMetrics(font()).horizontalAdvance(text.toString());
    advances_.insert(ch, advance);
    return advance;
}

void ListBoxView::drawRow(QPainter& p, QStringView text, int x, int baseline, int right) {
    // Runs of characters whose glyphs already take their cells are drawn
    // whole; any other character alone, centred in its cells and narrowed
    // when it is wider.
    qsizetype runStart = 0;
    int runX = x;
    const auto flush = [&](qsizetype end) {
        if (end > runStart)
            p.drawText(runX, baseline, text.mid(runStart, end - runStart).toString());
    };
    qsizetype i = 0;
    while (i < text.size() && x < right) {
        char32_t ch = text[i].unicode();
        qsizetype n = 1;
        if (text[i].isHighSurrogate() && i + 1 < text.size() && text[i + 1].isLowSurrogate()) {
            ch = QChar::surrogateToUcs4(text[i], text[i + 1]);
            n = 2;
        }
        const int width = cellsOf(ch) * cellWidth_;
        const int advance = advanceOf(ch, text.mid(i, n));
        if (advance != width || (ch >= 0x80 && shapesWithNeighbours(ch))) {
            flush(i);
            const QString glyph = text.mid(i, n).toString();
            if (advance > width) {
                p.save();
                p.translate(x, baseline);
                p.scale(double(width) / advance, 1.0);
                p.drawText(0, 0, glyph);
                p.restore();
            } else {
                p.drawText(x + (width - advance) / 2, baseline, glyph);
            }
            runStart = i + n;
            runX = x + width;
        }
        x += width;
        i += n;
    }
    flush(i);
}

void ListBoxView::paintEvent(QPaintEvent*) {
    QPainter p(viewport());
    const QPalette::ColorGroup group = !isEnabled()       ? QPalette::Disabled
                                       : isActiveWindow() ? QPalette::Active
                                                          : QPalette::Inactive;
    const int width = viewport()->width();
    const int x = kMargin - horizontalScrollBar()->value();
    int y = 0;
    for (int row = verticalScrollBar()->value(); row < shown_ && y < viewport()->height();
         ++row, y += rowHeight_) {
        const bool selected = box_.selected(row);
        if (selected)
            p.fillRect(0, y, width, rowHeight_, palette().brush(group, QPalette::Highlight));
        p.setPen(palette().color(group, selected ? QPalette::HighlightedText : QPalette::Text));
        drawRow(p, box_.list(row), x, y + ascent_, width);
        if (row == box_.listIndex() && tableView()->hasFocus()) {
            QStyleOptionFocusRect focus;
            focus.initFrom(this);
            focus.rect = QRect(0, y, width, rowHeight_);
            focus.backgroundColor =
                palette().color(group, selected ? QPalette::Highlight : QPalette::Base);
            style()->drawPrimitive(QStyle::PE_FrameFocusRect, &focus, &p, this);
        }
    }
}

void ListBoxView::resizeEvent(QResizeEvent* event) {
    QAbstractScrollArea::resizeEvent(event);
    updateScrollBars();
}

void ListBoxView::changeEvent(QEvent* event) {
    QAbstractScrollArea::changeEvent(event);
    if (event->type() == QEvent::FontChange) {
        measureFont();
        updateScrollBars();
        viewport()->update();
    }
}

void ListBoxView::scrollContentsBy(int, int dy) {
    viewport()->update();
    // A table's columns scroll as one, so its rows stay level.
    if (dy == 0 || scrollingTable) return;
    scrollingTable = true;
    for (ListBoxView* p : partners())
        p->verticalScrollBar()->setValue(verticalScrollBar()->value());
    scrollingTable = false;
}

void ListBoxView::focusInEvent(QFocusEvent* event) {
    QAbstractScrollArea::focusInEvent(event);
    showSelection();
}

void ListBoxView::focusOutEvent(QFocusEvent* event) {
    QAbstractScrollArea::focusOutEvent(event);
    showSelection();
}

// ---- Selection, as an item view with extended selection makes it

void ListBoxView::selectOnly(int row) {
    box_.clearSelectionFromUser();
    box_.setSelectedFromUser(row, true);
}

void ListBoxView::selectRange(int from, int to) {
    box_.clearSelectionFromUser();
    for (int i = std::min(from, to); i <= std::max(from, to); ++i)
        box_.setSelectedFromUser(i, true);
}

void ListBoxView::toggle(int row) {
    box_.setSelectedFromUser(row, !box_.selected(row));
}

void ListBoxView::mousePressEvent(QMouseEvent* event) {
    // A click in any column of a table gives the table the focus.
    if (tableView() != this) tableView()->setFocus(Qt::MouseFocusReason);
    if (event->button() != Qt::LeftButton) return QAbstractScrollArea::mousePressEvent(event);
    const int row = rowAt(event->position().toPoint());
    const Qt::KeyboardModifiers mods = event->modifiers();
    pressed_ = row;
    if (row < 0) {
        if (!(mods & (Qt::ShiftModifier | Qt::ControlModifier))) box_.clearSelectionFromUser();
    } else if (!box_.multiSelect()) {
        selectOnly(row);
    } else if (mods & Qt::ShiftModifier) {
        selectRange(anchor_ < 0 ? row : anchor_, row);
    } else if (mods & Qt::ControlModifier) {
        toggle(row);
        setAnchor(row);
    } else {
        selectOnly(row);
        setAnchor(row);
    }
    if (row >= 0) box_.setListIndexFromUser(row);
    showSelection();
}

void ListBoxView::mouseMoveEvent(QMouseEvent* event) {
    if (!(event->buttons() & Qt::LeftButton) || pressed_ < 0 || shown_ == 0) return;
    // Dragging past an edge scrolls a row at a time.
    const int y = event->position().toPoint().y();
    QScrollBar* v = verticalScrollBar();
    int row;
    if (y < 0) {
        row = std::max(0, v->value() - 1);
    } else if (y >= viewport()->height()) {
        row = std::min(shown_ - 1, v->value() + fullRowsShown());
    } else {
        row = rowAt({0, y});
        if (row < 0) row = shown_ - 1;
    }
    if (box_.multiSelect())
        selectRange(anchor_ < 0 ? pressed_ : anchor_, row);
    else
        selectOnly(row);
    box_.setListIndexFromUser(row);
    ensureVisible(row);
    showSelection();
}

void ListBoxView::mouseReleaseEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton) return QAbstractScrollArea::mouseReleaseEvent(event);
    const int row = rowAt(event->position().toPoint());
    const bool click = pressed_ >= 0 && row == pressed_;
    pressed_ = -1;
    if (click && clicked) clicked();
}

void ListBoxView::moveCurrent(int row, Qt::KeyboardModifiers modifiers) {
    if (shown_ == 0) return;
    row = std::clamp(row, 0, shown_ - 1);
    box_.setListIndexFromUser(row);
    if ((modifiers & Qt::ShiftModifier) && box_.multiSelect()) {
        selectRange(anchor_ < 0 ? row : anchor_, row);
    } else if (!(modifiers & Qt::ControlModifier) || !box_.multiSelect()) {
        selectOnly(row);
        setAnchor(row);
    }
    ensureVisible(row);
    showSelection();
}

void ListBoxView::keyPressEvent(QKeyEvent* event) {
    const int current = box_.listIndex();
    const Qt::KeyboardModifiers mods = event->modifiers();
    switch (event->key()) {
        case Qt::Key_Up:
            return moveCurrent(current < 0 ? 0 : current - 1, mods);
        case Qt::Key_Down:
            return moveCurrent(current + 1, mods);
        case Qt::Key_PageUp:
            return moveCurrent(std::max(current, 0) - fullRowsShown(), mods);
        case Qt::Key_PageDown:
            return moveCurrent(std::max(current, 0) + fullRowsShown(), mods);
        case Qt::Key_Home:
            return moveCurrent(0, mods);
        case Qt::Key_End:
            return moveCurrent(shown_ - 1, mods);
        case Qt::Key_Space:
            if (current < 0 || current >= shown_) break;
            if ((mods & Qt::ControlModifier) && box_.multiSelect())
                toggle(current);
            else
                selectOnly(current);
            setAnchor(current);
            showSelection();
            return;
        default:
            if (event->matches(QKeySequence::SelectAll) && box_.multiSelect()) {
                for (int i = 0; i < shown_; ++i) box_.setSelectedFromUser(i, true);
                showSelection();
                return;
            }
            break;
    }
    QAbstractScrollArea::keyPressEvent(event);
}

}  // namespace qtbind
