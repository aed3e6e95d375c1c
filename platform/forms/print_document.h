#pragma once
// A listing on pages of fixed-width text: the program lays the pages out,
// the binding draws them on a printer or into a PDF. Only the font's
// proportions and the size of the paper cross over; a page's texts are made
// when it is drawn, so no more than one page is held at a time.

#include <QString>

#include <vector>

namespace forms {

// The fixed-width font in ems: a half-width cell's advance and a line's height.
struct FontProportions {
    double cell = 0.5;
    double line = 1.0;
};

// Inside the margins, in points.
struct PageArea {
    double width = 0;
    double height = 0;
};

// A text laid on the grid of half-width cells (two for a character that is
// double-width in code page 932) from x, its line's top at y; points from
// the area's top left corner, the font size in points.
struct PageText {
    double x = 0;
    double y = 0;
    double size = 0;
    QString text;
};

class PrintDocument {
  public:
    virtual ~PrintDocument() = default;
    // The name of the print job and of the PDF.
    virtual QString title() const = 0;
    // Whether some lines are selected, so that they alone may be printed.
    virtual bool hasSelection() const = 0;
    // Lays the pages out, every line or the selected ones only; again
    // whenever the paper or its orientation changes.
    virtual void layOut(PageArea area, FontProportions font, bool selectionOnly) = 0;
    virtual int pageCount() const = 0;
    // The texts of page `index` (from 0) in place of what `texts` held.
    virtual void page(int index, std::vector<PageText>& texts) const = 0;
};

// How a print from the preview went.
enum class PrintOutcome {
    NotPrinted,  // the preview was closed without printing
    Printed,
    Failed,     // the printer or the file refused part-way
    Cancelled,  // the job was stopped part-way
};

}  // namespace forms
