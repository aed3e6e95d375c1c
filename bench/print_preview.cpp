// Opens Qt's print preview, as プリント出力 does, on the lines of a work file
// (code page 932, CR LF) kept in a list box, offscreen; prints the pages, the
// seconds until the preview has drawn them all, and the memory it took.

#include "bench/peak_memory.h"
#include "cli/kept_lines.h"
#include "output/listing_pages.h"
#include "platform/codepage/cp932.h"
#include "platform/qt/print_preview.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QPrintPreviewDialog>
#include <QPrintPreviewWidget>
#include <QPrinter>

#include <cstdio>
#include <cstdlib>

int main(int argc, char** argv) {
    setenv("QT_QPA_PLATFORM", "offscreen", 0);
    QApplication qapp(argc, argv);
    if (argc != 2) {
        std::fprintf(stderr, "usage: tolan-bench-preview WORKFILE\n");
        return 2;
    }
    QFile file(QString::fromLocal8Bit(argv[1]));
    if (!file.open(QIODevice::ReadOnly)) {
        std::fprintf(stderr, "cannot read %s\n", argv[1]);
        return 1;
    }
    cli::KeptLines kept;
    for (QByteArray line; !(line = file.readLine()).isEmpty();)
        kept.lines.addItem(codepage::fromCp932(line.chopped(line.endsWith("\r\n") ? 2 : 0)));
    const long beforeKiB = peakKiB();

    output::ListingPages pages(kept.lines, QStringLiteral("C:\\bench"), 0);
    QPrinter printer(QPrinter::HighResolution);
    printer.setOutputFormat(QPrinter::PdfFormat);
    qtbind::preparePrinter(printer, pages);
    QElapsedTimer clock;
    clock.start();
    qtbind::PrintPreview preview(printer, pages, nullptr);
    preview.dialog().show();
    auto* widget = preview.dialog().findChild<QPrintPreviewWidget*>();
    while (widget && widget->pageCount() == 0 && clock.elapsed() < 600000)
        QCoreApplication::processEvents();
    QCoreApplication::processEvents();  // the first pages painted
    const double seconds = clock.nsecsElapsed() / 1e9;
    const int count = widget ? widget->pageCount() : 0;
    std::printf("preview: %d lines on %d pages in %.2f s (%.0f pages a second)\n",
                kept.lines.listCount(), count, seconds, count / seconds);
    std::printf("peak memory: %.1f MiB with the lines, %.1f MiB with the preview\n",
                beforeKiB / 1024.0, peakKiB() / 1024.0);
    return count > 0 ? 0 : 1;
}
