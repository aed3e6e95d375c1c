#include "cli/drawing.h"

#include "cli/offscreen_gui.h"
#include "output/listing_pages.h"
#include "platform/qt/print_pages.h"

namespace cli {

int writeListingPdf(char* program, const forms::ListBox& lines, const QString& root, qint64 time,
                    dosfs::FileWriter& out) {
    // Fonts and pages need a GUI application; offscreen, it needs no display.
    const auto gui = offscreenGui(program);
    output::ListingPages pages(lines, root, time);
    // Dated by the scan, as its pages are: SOURCE_DATE_EPOCH when set.
    return qtbind::writePdf(pages, qtbind::defaultPageLayout(), false, out, {}, {}, nullptr, time);
}

}  // namespace cli
