#pragma once
// The pages of a printed listing: the lines of a list box in the fixed-width
// font, as large as lets the longest line fit the width (between 6 and 10
// points; a line longer than the page at 6 points is cut and marked " ..",
// as the listing marks the names it cuts), the folder listed and the time of
// its scan at the head of every page and "n / m" at its foot. Nothing but
// the numbers of the layout is kept: a page's texts are made from the list
// box when it is drawn.

#include "platform/forms/list_box.h"
#include "platform/forms/print_document.h"

#include <QString>
#include <QStringView>

namespace output {

// Font sizes in points.
inline constexpr double kLargestSize = 10.0;
inline constexpr double kSmallestSize = 6.0;
inline constexpr double kHeadingSize = 9.0;
inline const QString kCutMarker = QStringLiteral(" ..");

// How the lines sit on every page.
struct LineFit {
    double size = 0;  // the lines' font size
    int cells = 0;    // the most cells a line keeps
    int linesPerPage = 0;
    double top = 0;         // of the first line
    double lineHeight = 0;  // from one line's top to the next
};
// The fit of lines the widest of which takes `widest` cells.
LineFit fitLines(forms::PageArea area, forms::FontProportions font, int widest);

// The cells a text takes as the list shows it, trailing blanks left out.
int cellsOf(QStringView text);
// The text without trailing blanks, cut to at most `cells` cells and ended
// by the marker when it is longer; a double-width character is never split.
QString fitLine(QStringView text, int cells);

class ListingPages : public forms::PrintDocument {
  public:
    // The list outlives the pages and is not changed while they are used.
    // `folder` and `scanTime` (seconds since the epoch) make the heading.
    ListingPages(const forms::ListBox& lines, QString folder, qint64 scanTime);

    QString title() const override { return folder_; }
    bool hasSelection() const override { return lines_.anySelected(); }
    void layOut(forms::PageArea area, forms::FontProportions font, bool selectionOnly) override;
    int pageCount() const override { return pages_; }
    void page(int index, std::vector<forms::PageText>& texts) const override;

    const LineFit& fit() const { return fit_; }
    // The time as the heading shows it.
    const QString& timeText() const { return time_; }

  private:
    int widest(int first, int end);

    const forms::ListBox& lines_;
    QString folder_;
    QString time_;
    forms::PageArea area_;
    forms::FontProportions font_;
    LineFit fit_;
    int first_ = 0;
    int end_ = 0;
    int pages_ = 0;
    // The widest line of the range measured last, kept across layouts.
    int measuredFirst_ = -1;
    int measuredEnd_ = -1;
    int measuredWidest_ = 0;
};

}  // namespace output
