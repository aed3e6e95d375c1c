// Appends 1,000,000 listing lines to the main window's result list in the
// real (offscreen) window, lets events run, then scrolls; prints the times
// and the memory the lines took against their UTF-16 size.

#include "bench/peak_memory.h"
#include "platform/qt/form_window.h"
#include "platform/qt/list_view.h"
#include "platform/qt/qt_application.h"
#include "shell/form1.h"

#include <QApplication>
#include <QElapsedTimer>

#include <cstdio>
#include <cstdlib>

namespace {

long residentKiB() {
    FILE* f = std::fopen("/proc/self/statm", "r");
    long pages = 0, resident = 0;
    if (f) {
        if (std::fscanf(f, "%ld %ld", &pages, &resident) != 2) resident = 0;
        std::fclose(f);
    }
    return resident * 4;
}


}  // namespace

int main(int argc, char** argv) {
    setenv("QT_QPA_PLATFORM", TOLAN_BENCH_PLATFORM, 0);
    QApplication qapp(argc, argv);
    const int lines = argc > 1 ? std::atoi(argv[1]) : 1000000;
    qtbind::QtApplication app;
    dosfs::FileSystem fs;
    shell::Form1 form(app, fs);
    form.startLayout();
    qtbind::FormWindow window(form);
    form.show();
    app.letEventsRun();

    const long before = residentKiB();
    QString text = QStringLiteral("  C:\\work\\data\\folder\\file_000000.txt");
    text += QString(87 - text.size(), u' ') + QStringLiteral("-    12345");
    QElapsedTimer clock;
    clock.start();
    // One distinct line each: the number is written into the same string,
    // so the time is the appends' own.
    QString line = text;
    QChar* digits = line.data() + 27;  // the six digits after "file_"
    for (int i = 0; i < lines; ++i) {
        for (int k = 5, n = i; k >= 0; --k, n /= 10) digits[k] = QChar(u'0' + n % 10);
        form.List1.addItem(line);
    }
    const qint64 appendMs = clock.elapsed();
    app.letEventsRun();
    auto* view = dynamic_cast<qtbind::ListBoxView*>(window.widgetOf(form.List1));
    view->viewport()->grab();  // laid out and painted
    const qint64 totalMs = clock.elapsed();
    const long after = residentKiB();

    clock.restart();
    const int steps = 200;
    for (int s = 0; s < steps; ++s) {
        form.List1.setTopIndex(static_cast<int>(static_cast<long long>(s) * (lines - 40) / steps));
        view->viewport()->grab();  // renders the rows now shown
    }
    const qint64 scrollMs = clock.elapsed();

    const double utf16MiB = double(lines) * text.size() * 2 / (1024.0 * 1024.0);
    const double heldMiB = double(after - before) / 1024.0;
    std::printf("lines: %d of %lld characters\n", lines, static_cast<long long>(text.size()));
    std::printf("append: %lld ms; laid out and painted after letting events run: %lld ms\n",
                static_cast<long long>(appendMs), static_cast<long long>(totalMs));
    std::printf("rows in the view: %d\n", view->rowCount());
    std::printf("memory held by the lines: %.1f MiB; UTF-16 text: %.1f MiB; ratio %.2f\n", heldMiB,
                utf16MiB, heldMiB / utf16MiB);
    std::printf("peak resident: %.1f MiB\n", peakKiB() / 1024.0);
    std::printf("scroll: %d jumps with repaint in %lld ms (%.2f ms each)\n", steps,
                static_cast<long long>(scrollMs), double(scrollMs) / steps);
    return 0;
}
