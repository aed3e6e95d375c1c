// Ten scans of a folder with the first scan button in one offscreen window,
// each followed by a listing file and a save of the work file; prints the
// peak memory after the first and the tenth round, its growth, and the open
// descriptors and threads before and after.

#include "app/program.h"
#include "output/listing_writer.h"

#include <QApplication>
#include <QDir>

#include <cstdio>
#include <cstdlib>

#include <sys/resource.h>

namespace {

double peakMiB() {
    rusage u{};
    getrusage(RUSAGE_SELF, &u);
    return u.ru_maxrss / 1024.0;
}

int entriesIn(const char* folder) {
    return static_cast<int>(QDir(QString::fromLatin1(folder))
                                .entryList(QDir::AllEntries | QDir::NoDotAndDotDot)
                                .size());
}

}  // namespace

int main(int argc, char** argv) {
    setenv("QT_QPA_PLATFORM", TOLAN_BENCH_PLATFORM, 0);
    int qtArgc = 1;
    QApplication qapp(qtArgc, argv);
    if (argc < 2) {
        std::fprintf(stderr, "usage: tolan-bench-soak FOLDER [ROUNDS]\n");
        return 2;
    }
    const int rounds = argc > 2 ? std::atoi(argv[2]) : 10;
    dosfs::DriveTable drives;
    drives.set(u'C', qgetenv("HOME"));
    drives.set(u'Z', "/");
    app::Program program(drives);
    program.load();
    program.qt.letEventsRun();
    shell::Form1& form = program.form;
    const int fdsBefore = entriesIn("/proc/self/fd");
    const int threadsBefore = entriesIn("/proc/self/task");

    double first = 0;
    int fdsFirst = 0;
    int threadsFirst = 0;
    for (int round = 1; round <= rounds; ++round) {
        if (!app::openStartFolder(form, QByteArray(argv[1]))) {
            std::fprintf(stderr, "cannot open %s\n", argv[1]);
            return 1;
        }
        form.Command3.raiseClick();
        program.qt.letEventsRun();
        const int listing = output::writeListing(form, output::Columns::NameSizeDate);
        form.Command4.raiseClick();
        program.output.form2.activatedByUser();
        program.output.form2.Text1.setText(QStringLiteral("C:\\SOAK.TXT"));
        program.output.form2.Command3.raiseClick();
        program.qt.letEventsRun();
        if (listing != 0 || form.Label5.text().isEmpty()) {
            std::fprintf(stderr, "round %d: the listing file or the save failed\n", round);
            return 1;
        }
        if (round == 1) {
            first = peakMiB();
            fdsFirst = entriesIn("/proc/self/fd");
            threadsFirst = entriesIn("/proc/self/task");
        }
        std::printf("round %d: %d lines, peak memory %.1f MiB\n", round, form.List1.listCount(),
                    peakMiB());
    }
    const double last = peakMiB();
    std::printf(
        "soak: peak after the first round %.1f MiB, after round %d %.1f MiB, growth %.1f%%\n",
        first, rounds, last, first > 0 ? (last - first) * 100 / first : 0.0);
    // Qt opens a few descriptors and threads of its own on first use; what
    // a round leaves behind shows between the first round and the last.
    std::printf(
        "soak: descriptors %d at start, %d after the first round, %d after the last; threads "
        "%d, %d, %d\n",
        fdsBefore, fdsFirst, entriesIn("/proc/self/fd"), threadsBefore, threadsFirst,
        entriesIn("/proc/self/task"));
    return 0;
}
