#pragma once
// Draws a separator line between two points of its box.

#include <QWidget>

namespace qtbind {

class LineWidget : public QWidget {
  public:
    using QWidget::QWidget;
    void setEnds(QPoint a, QPoint b) {
        a_ = a;
        b_ = b;
        update();
    }

  protected:
    void paintEvent(QPaintEvent*) override;

  private:
    QPoint a_, b_;
};

}  // namespace qtbind
