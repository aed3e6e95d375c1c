// Runs the first scan command (list with totals) in the real offscreen
// main window over a folder and prints the time and the peak memory; then
// writes the folder-split listing file (FR0) of its Side A rows and prints
// that time beside the scan's; then saves the work file under a new name
// through the save-as dialog and prints the time of the save.

#include "app/program.h"
#include "output/listing_writer.h"

#include <QAccessible>
#include <QApplication>
#include <QElapsedTimer>
#include <QFileInfo>

#include <cstdio>
#include <cstdlib>

#include <sys/resource.h>

int main(int argc, char** argv) {
    setenv("QT_QPA_PLATFORM", TOLAN_BENCH_PLATFORM, 0);
    QApplication qapp(argc, argv);
    if (argc < 2) {
        std::fprintf(stderr, "usage: tolan-bench-window FOLDER\n");
        return 2;
    }
    dosfs::DriveTable drives;
    drives.set(u'C', qgetenv("HOME"));
    drives.set(u'Z', "/");
    app::Program program(drives);
    shell::Form1& form = program.form;
    output::OutputCommands& commands = program.output;
    qtbind::QtApplication& app = program.qt;
    program.load();
    app.letEventsRun();
    if (!app::openStartFolder(form, QByteArray(argv[1]))) {
        std::fprintf(stderr, "cannot open %s\n", argv[1]);
        return 1;
    }
    std::printf("accessibility: %s\n", QAccessible::isActive() ? "on" : "off");
    rusage start{};
    getrusage(RUSAGE_SELF, &start);
    QElapsedTimer clock;
    clock.start();
    form.Command3.raiseClick();
    const qint64 scanMs = clock.elapsed();
    app.letEventsRun();  // the last rows reach the views
    const qint64 ms = clock.elapsed();
    rusage u{};
    getrusage(RUSAGE_SELF, &u);
    const auto seconds = [](const timeval& a, const timeval& b) {
        return double(b.tv_sec - a.tv_sec) + double(b.tv_usec - a.tv_usec) / 1e6;
    };
    std::printf(
        "window scan: %.3f s (%.3f s until the command returned), %d lines in List1, %d rows "
        "in Side A, peak memory %.1f MiB (%.1f MiB before the scan, %.0f bytes a file more), "
        "processor time %.2f s user %.2f s system, %ld page faults\n",
        ms / 1000.0, scanMs / 1000.0, form.List1.listCount(), form.List2[0]->listCount(),
        u.ru_maxrss / 1024.0, start.ru_maxrss / 1024.0,
        form.List2[0]->listCount()
            ? (u.ru_maxrss - start.ru_maxrss) * 1024.0 / form.List2[0]->listCount()
            : 0.0,
        seconds(start.ru_utime, u.ru_utime), seconds(start.ru_stime, u.ru_stime),
        u.ru_minflt - start.ru_minflt);

    std::printf("list storage: List1 %.1f MiB, the scan's table (Side A's rows) %.1f MiB\n",
                form.List1.memoryUsed() / 1048576.0,
                form.state.found->memoryUsed() / 1048576.0);

    // The occupancy graph is made from the scan's table when first asked for.
    clock.restart();
    const auto graph = program.behaviour.lastGraph();
    std::printf("occupancy graph made on request: %.3f s, %d nodes, %.1f MiB\n",
                clock.elapsed() / 1000.0, graph ? graph->size() : 0,
                graph ? graph->memoryBytes() / 1048576.0 : 0.0);

    // "--scan-only" after the folder: for profiling the scan alone.
    if (argc > 2 && QByteArray(argv[2]) == "--scan-only") return 0;

    const long peakBefore = u.ru_maxrss;
    clock.restart();
    const int error = output::writeListing(form, output::Columns::FolderFileSizeDate);
    const qint64 writeMs = clock.elapsed();
    getrusage(RUSAGE_SELF, &u);
    std::printf(
        "listing file FR0: %.3f s for %d rows (%s), %.2f of the scan's time, peak memory "
        "+%.1f MiB\n",
        writeMs / 1000.0, form.List2[0]->listCount(), error ? "failed" : "written",
        ms > 0 ? double(writeMs) / double(ms) : 0.0, (u.ru_maxrss - peakBefore) / 1024.0);
    if (error) return 1;

    form.Command4.raiseClick();
    commands.form2.activatedByUser();
    commands.form2.Text1.setText(QStringLiteral("C:\\TOLAN-SAVED.TXT"));
    clock.restart();
    commands.form2.Command3.raiseClick();
    const qint64 saveMs = clock.elapsed();
    const QFileInfo saved(QString::fromLocal8Bit(qgetenv("HOME")) +
                          QStringLiteral("/TOLAN-SAVED.TXT"));
    std::printf("save as: %.3f s for %lld bytes, %s files counted\n", saveMs / 1000.0,
                static_cast<long long>(saved.size()), qPrintable(form.Label5.text()));
    return saved.exists() ? 0 : 1;
}
