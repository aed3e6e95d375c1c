#include "platform/qt/line_widget.h"

#include <QPainter>
#include <QPen>

namespace qtbind {

void LineWidget::paintEvent(QPaintEvent*) {
    QPainter p(this);
    // One device pixel wide, through the middle of the widget's first pixel
    // row or column, so that a fractional scale factor does not clip it.
    p.setPen(QPen(palette().color(QPalette::Dark), 0));
    const QPointF half(0.5, 0.5);
    p.drawLine(QPointF(a_) + half, QPointF(b_) + half);
}

}  // namespace qtbind
