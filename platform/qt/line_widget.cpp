#include "platform/qt/line_widget.h"

#include <QPainter>

namespace qtbind {

void LineWidget::paintEvent(QPaintEvent*) {
    QPainter p(this);
    p.setPen(palette().color(QPalette::Dark));
    p.drawLine(a_, b_);
}

}  // namespace qtbind
