// tolan [FOLDER]: the main window and the event loop. FOLDER, a host path,
// is opened in Side A at start-up.

#include "app/languages.h"
#include "app/program.h"
#include "platform/dosfs/away_reads.h"
#include "platform/dosfs/locations.h"

#include "platform/qt/gui_process.h"
#include "shell/messages.h"
#include "tolan/version.h"

#include <QLocale>
#include <QSocketNotifier>

#include <csignal>
#include <cstdio>
#include <cstring>

#include <fcntl.h>
#include <unistd.h>

namespace {

int signalPipe[2] = {-1, -1};

void onSignal(int) {
    const char byte = 1;
    [[maybe_unused]] const ssize_t n = ::write(signalPipe[1], &byte, 1);
}

// Logout (SIGHUP), Ctrl+C in the terminal (SIGINT) and SIGTERM close the
// window as its close box does, so the settings are saved.
void closeOnSignals(shell::Form1& form, QObject* parent) {
    if (::pipe2(signalPipe, O_CLOEXEC | O_NONBLOCK) != 0) return;
    auto* notifier = new QSocketNotifier(signalPipe[0], QSocketNotifier::Read, parent);
    QObject::connect(notifier, &QSocketNotifier::activated, parent, [&form] {
        char buffer[16];
        while (::read(signalPipe[0], buffer, sizeof buffer) > 0) {
        }
        form.close();
    });
    struct sigaction sa {};
    sa.sa_handler = onSignal;
    sigemptyset(&sa.sa_mask);
    sa.sa_flags = SA_RESTART;
    for (int sig : {SIGTERM, SIGINT, SIGHUP}) sigaction(sig, &sa, nullptr);
}

const char kUsage[] =
    "usage: tolan [FOLDER]\n"
    "Opens the Tolan main window. FOLDER, a host folder, is opened in the upper\n"
    "area so that the first scan lists it.\n"
    "  --help      show this help\n"
    "  --version   show the version\n";

}  // namespace

int main(int argc, char** argv) {
    // Answered before any window is made, so they work without a display.
    if (argc > 1 && (std::strcmp(argv[1], "--help") == 0 || std::strcmp(argv[1], "-h") == 0)) {
        std::fputs(kUsage, stdout);
        return 0;
    }
    if (argc > 1 && std::strcmp(argv[1], "--version") == 0) {
        std::printf("tolan %s\n", TOLAN_VERSION);
        return 0;
    }
    // While the process has one thread: reads of mounts that may stop
    // answering go to a helper, so that the window can always end.
    dosfs::away::start();
    // Qt sees no argument of the user's: the folder is the only one there is.
    qtbind::GuiProcess gui(argv[0]);
    if (argc > 2)
        std::fprintf(stderr, "tolan: only the first folder is opened; the rest is ignored\n");

    app::installLanguage(app::chooseLanguage(QLocale::system().uiLanguages()));
    const dosfs::DriveFile drives = dosfs::readDriveFile();
    app::Program program(drives.table);
    program.form.state.startNotices.append(shell::driveFileNotice(drives));
    closeOnSignals(program.form, &program.window);
    program.load();  // applies the stored geometry, then shows the window
    if (argc > 1) app::openStartFolder(program.form, QByteArray(argv[1]));
    return program.qt.ended() ? 0 : gui.exec();
}
