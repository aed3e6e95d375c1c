#pragma once
// Pages of fixed-width text drawn with Qt: on a printer, in a print preview
// or into a PDF. Texts are laid on the grid of half-width cells of the
// listing font (IPAGothic), as the list views lay them, and stay text in a
// PDF (its font embedded, each line selectable and searchable). Needs a
// QGuiApplication; no widget.

#include "platform/dosfs/file_writer.h"
#include "platform/forms/print_document.h"

#include <QFont>
#include <QHash>
#include <QPageLayout>
#include <QPageRanges>

#include <array>
#include <functional>
#include <vector>

class QPainter;
class QPagedPaintDevice;
class QPaintDevice;

namespace qtbind {

// The listing font at a size in points.
QFont printFont(double points);
// Its proportions as a device lays it out.
forms::FontProportions measurePrintFont(QPaintDevice& device);
// The paper when no printer tells: A4, or Letter where the locale measures
// in inches (as in the United States); the margins Qt gives a PDF; portrait.
QPageLayout defaultPageLayout();
// The room inside a layout's margins.
forms::PageArea pageArea(const QPageLayout& layout);

// Draws the texts of one page after another on a painter whose origin is
// the top left corner inside the margins.
class PageDrawer {
  public:
    explicit PageDrawer(QPainter& painter);
    void draw(const std::vector<forms::PageText>& texts);

  private:
    void drawText(const forms::PageText& text);
    double advanceOf(char32_t ch, QStringView text);  // in ems
    int cellsOf(char32_t ch, QStringView text);

    QPainter& painter_;
    double dotsX_;  // device units a point
    double dotsY_;
    double ascent_;  // in ems
    double cell_;    // in ems
    double size_ = 0;
    QFont reference_;
    std::array<double, 128> asciiAdvance_{};
    QHash<char32_t, double> advances_;
    QHash<char32_t, int> cells_;
};

// Told after each page with the pages drawn and how many are to be; false
// stops the print there.
using PrintProgress = std::function<bool(int drawn, int total)>;

enum class Drawn { All, Refused, Stopped };
// Lays the document out for the device's paper and draws its pages (those in
// `pages`, counted from 1, or all when it is empty) with a new page between
// two; Refused when the device refused a new page.
Drawn drawPages(QPainter& painter, QPagedPaintDevice& device, forms::PrintDocument& document,
                bool selectionOnly, const QPageRanges& pages = {},
                const PrintProgress& progress = {});

// A PDF's creation date read from the clock.
constexpr qint64 kClockTime = INT64_MIN;

// Writes the document as a PDF on `layout`'s paper into `out`, which the
// caller opened and finishes. Returns the writer's error number, 0 when
// every byte went; a document without pages is not written (52). When the
// progress stopped it, *stopped is set and the caller abandons the file.
// `created`: the creation date it gives, seconds since the epoch.
int writePdf(forms::PrintDocument& document, const QPageLayout& layout, bool selectionOnly,
             dosfs::FileWriter& out, const QPageRanges& pages = {},
             const PrintProgress& progress = {}, bool* stopped = nullptr,
             qint64 created = kClockTime);

}  // namespace qtbind
