#pragma once
// The pages of a document one under the other, as a print preview shows
// them: only the pages in sight are drawn, each from the document when it is
// painted, so a listing of thousands of pages shows its first ones at once
// and holds no page it does not show.

#include "platform/forms/print_document.h"

#include <QAbstractScrollArea>
#include <QPageLayout>

#include <functional>

namespace qtbind {

class PageView : public QAbstractScrollArea {
  public:
    enum class Zoom { FitWidth, FitPage, Fixed };

    PageView(forms::PrintDocument& document, QWidget* parent = nullptr);

    // Shows the pages as laid out on this paper; the document must have
    // been laid out for it.
    void setPaper(const QPageLayout& layout);
    int pageCount() const { return count_; }
    // The page mostly in sight, from 1.
    int currentPage() const;
    void showPage(int number);
    // Told whenever the page in sight or the number of pages changes.
    void onPageChanged(std::function<void()> told) { told_ = std::move(told); }

    void setZoom(Zoom zoom);
    // Larger (factor above 1) or smaller than now; the zoom becomes Fixed.
    void zoomBy(double factor);
    // Pixels a point at the present zoom.
    double scale() const { return scale_; }
    // The pages drawn so far, for the benchmark of the preview.
    long long pagesDrawn() const { return drawn_; }

  protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void scrollContentsBy(int dx, int dy) override;
    void keyPressEvent(QKeyEvent* event) override;
    void wheelEvent(QWheelEvent* event) override;

  private:
    void layOutView();
    void drawPage(QPainter& painter, int index, QPointF topLeft);
    int pageStride() const;
    void tell();

    forms::PrintDocument& document_;
    QPageLayout paper_;
    int count_ = 0;
    Zoom zoom_ = Zoom::FitWidth;
    double scale_ = 1.0;
    double fixed_ = 1.0;
    int shown_ = 0;  // the page last told of
    long long drawn_ = 0;
    std::function<void()> told_;
};

}  // namespace qtbind
