// Opens the print preview, as プリント出力 does, on the lines of a work file
// (code page 932, CR LF) kept in a list box, offscreen; prints the pages, the
// seconds until it shows the first page and until it shows the last after
// End, and the memory it took.

#include "platform/qt/print_preview.h"
#include "bench/peak_memory.h"
#include "cli/kept_lines.h"
#include "output/listing_pages.h"
#include "platform/codepage/cp932.h"

#include <QApplication>
#include <QDialog>
#include <QElapsedTimer>
#include <QFile>
#include <QKeyEvent>
#include <QPrinter>

#include <cstdio>
#include <cstdlib>

int main(int argc, char** argv) {
    setenv("QT_QPA_PLATFORM", TOLAN_BENCH_PLATFORM, 0);
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
    QCoreApplication::processEvents();  // the first pages painted
    const double first = clock.nsecsElapsed() / 1e9;
    qtbind::PageView& view = preview.pages();
    clock.restart();
    QKeyEvent end(QEvent::KeyPress, Qt::Key_End, Qt::NoModifier);
    QCoreApplication::sendEvent(&view, &end);
    QCoreApplication::processEvents();
    const double last = clock.nsecsElapsed() / 1e9;
    const int count = view.pageCount();
    std::printf(
        "preview: %d lines on %d pages; first page shown in %.3f s, last in %.3f s; "
        "%lld pages drawn\n",
        kept.lines.listCount(), count, first, last, view.pagesDrawn());
    std::printf("peak memory: %.1f MiB with the lines, %.1f MiB with the preview\n",
                beforeKiB / 1024.0, peakKiB() / 1024.0);
    return count > 0 ? 0 : 1;
}
