#include "platform/qt/page_view.h"

#include "platform/qt/print_pages.h"

#include <QKeyEvent>
#include <QPainter>
#include <QScrollBar>
#include <QWheelEvent>

#include <algorithm>
#include <cmath>

namespace qtbind {
namespace {

constexpr int kGap = 12;           // pixels around and between pages
constexpr double kSmallest = 0.1;  // pixels a point
constexpr double kLargest = 8.0;
constexpr double kWheelZoom = 1.25;

}  // namespace

PageView::PageView(forms::PrintDocument& document, QWidget* parent)
    : QAbstractScrollArea(parent), document_(document) {
    setFocusPolicy(Qt::StrongFocus);
    viewport()->setBackgroundRole(QPalette::Dark);
    viewport()->setAutoFillBackground(true);
}

void PageView::setPaper(const QPageLayout& layout) {
    const int page = currentPage();
    paper_ = layout;
    count_ = document_.pageCount();
    layOutView();
    showPage(std::clamp(page, 1, std::max(1, count_)));
    shown_ = currentPage();
    if (told_) told_();
}

void PageView::setZoom(Zoom zoom) {
    const int page = currentPage();
    zoom_ = zoom;
    layOutView();
    showPage(page);
}

void PageView::zoomBy(double factor) {
    const int page = currentPage();
    fixed_ = std::clamp(scale_ * factor, kSmallest, kLargest);
    zoom_ = Zoom::Fixed;
    layOutView();
    showPage(page);
}

int PageView::pageStride() const {
    return int(std::lround(paper_.fullRect(QPageLayout::Point).height() * scale_)) + kGap;
}

void PageView::layOutView() {
    const QSizeF paper = paper_.fullRect(QPageLayout::Point).size();
    const QSize room = viewport()->size() - QSize(2 * kGap, 2 * kGap);
    if (paper.isEmpty()) return;
    const double width = room.width() / paper.width();
    switch (zoom_) {
        case Zoom::FitWidth:
            scale_ = width;
            break;
        case Zoom::FitPage:
            scale_ = std::min(width, room.height() / paper.height());
            break;
        case Zoom::Fixed:
            scale_ = fixed_;
            break;
    }
    scale_ = std::clamp(scale_, kSmallest, kLargest);
    const int pageWidth = int(std::lround(paper.width() * scale_));
    const int stride = pageStride();
    QScrollBar* down = verticalScrollBar();
    down->setRange(0, std::max(0, kGap + count_ * stride - viewport()->height()));
    down->setPageStep(viewport()->height());
    down->setSingleStep(std::max(1, stride / 20));
    QScrollBar* across = horizontalScrollBar();
    across->setRange(0, std::max(0, pageWidth + 2 * kGap - viewport()->width()));
    across->setPageStep(viewport()->width());
    across->setSingleStep(std::max(1, pageWidth / 20));
    viewport()->update();
}

int PageView::currentPage() const {
    if (count_ == 0) return 0;
    const QScrollBar* down = verticalScrollBar();
    if (down->maximum() > 0 && down->value() == down->maximum()) return count_;
    const int middle = down->value() + viewport()->height() / 2;
    return std::clamp(middle / pageStride() + 1, 1, count_);
}

void PageView::showPage(int number) {
    if (count_ == 0) return;
    verticalScrollBar()->setValue((std::clamp(number, 1, count_) - 1) * pageStride());
}

void PageView::tell() {
    const int page = currentPage();
    if (page == shown_) return;
    shown_ = page;
    if (told_) told_();
}

void PageView::paintEvent(QPaintEvent*) {
    if (count_ == 0) return;
    QPainter painter(viewport());
    const QSizeF paper = paper_.fullRect(QPageLayout::Point).size();
    const QSize page(int(std::lround(paper.width() * scale_)),
                     int(std::lround(paper.height() * scale_)));
    const int stride = pageStride();
    const int top = verticalScrollBar()->value();
    const int left = page.width() + 2 * kGap <= viewport()->width()
                         ? (viewport()->width() - page.width()) / 2
                         : kGap - horizontalScrollBar()->value();
    for (int i = std::max(0, (top - kGap) / stride); i < count_; ++i) {
        const int y = kGap + i * stride - top;
        if (y >= viewport()->height()) break;
        const QRect sheet(QPoint(left, y), page);
        painter.fillRect(sheet.translated(2, 2), palette().color(QPalette::Shadow));
        painter.fillRect(sheet, Qt::white);
        drawPage(painter, i, sheet.topLeft());
    }
}

void PageView::drawPage(QPainter& painter, int index, QPointF topLeft) {
    painter.save();
    const QRectF inside = paper_.paintRect(QPageLayout::Point);
    const double dotsX = viewport()->logicalDpiX() / 72.0;
    const double dotsY = viewport()->logicalDpiY() / 72.0;
    painter.translate(topLeft + inside.topLeft() * scale_);
    painter.scale(scale_ / dotsX, scale_ / dotsY);
    painter.setClipRect(QRectF(0, 0, inside.width() * dotsX, inside.height() * dotsY));
    painter.setPen(Qt::black);
    std::vector<forms::PageText> texts;
    document_.page(index, texts);
    PageDrawer drawer(painter);
    drawer.draw(texts);
    ++drawn_;
    painter.restore();
}

void PageView::resizeEvent(QResizeEvent* event) {
    QAbstractScrollArea::resizeEvent(event);
    // The page in sight before: the viewport has its new size already.
    const int page = shown_;
    layOutView();
    showPage(page);
    tell();
}

void PageView::scrollContentsBy(int, int) {
    viewport()->update();
    tell();
}

void PageView::keyPressEvent(QKeyEvent* event) {
    if (event->key() == Qt::Key_Home && event->modifiers() == Qt::NoModifier)
        showPage(1);
    else if (event->key() == Qt::Key_End && event->modifiers() == Qt::NoModifier)
        showPage(count_);
    else
        QAbstractScrollArea::keyPressEvent(event);
}

void PageView::wheelEvent(QWheelEvent* event) {
    if (!(event->modifiers() & Qt::ControlModifier)) return QAbstractScrollArea::wheelEvent(event);
    const int steps = event->angleDelta().y();
    if (steps != 0) zoomBy(steps > 0 ? kWheelZoom : 1 / kWheelZoom);
    event->accept();
}

}  // namespace qtbind
