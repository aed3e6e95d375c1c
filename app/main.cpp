// tolan: the main window and the event loop.

#include "output/output_commands.h"
#include "platform/dosfs/locations.h"
#include "platform/qt/form_window.h"
#include "platform/qt/qt_application.h"
#include "shell/form1.h"
#include "window/main_window.h"

#include <QApplication>
#include <QSocketNotifier>
#include <QTimer>

#include <csignal>

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

}  // namespace

int main(int argc, char** argv) {
    QApplication qapp(argc, argv);
    qtbind::QtApplication app;
    dosfs::FileSystem fs(dosfs::loadDriveTable());
    shell::Form1 form(app, fs);
    window::MainWindow behaviour(form);
    qtbind::FormWindow window(form);
    app.setMainWindow(&window);
    output::OutputCommands outputCommands(form, behaviour.listTypeChanged,
                                          behaviour.scan.listedCount);
    closeOnSignals(form, &window);
    form.load();  // applies the stored geometry, then shows the window

    // scripts/screenshot: render the window once it is laid out (after a
    // scan of TOLAN_SCREENSHOT_SCAN, a host folder, when given), then leave.
    if (const QByteArray shot = qgetenv("TOLAN_SCREENSHOT"); !shot.isEmpty()) {
        if (const QByteArray folder = qgetenv("TOLAN_SCREENSHOT_SCAN"); !folder.isEmpty()) {
            QTimer::singleShot(0, [&form, &fs, folder] {
                const dosfs::Resolved r = fs.fromHostPath(folder);
                if (r.error == 0 && form.Dir1.setPath(r.dos) == 0) form.Command3.raiseClick();
            });
        }
        QTimer::singleShot(300, [&window, shot] {
            window.grab().save(QString::fromLocal8Bit(shot));
            QCoreApplication::exit(0);
        });
    }
    return app.ended() ? 0 : qapp.exec();
}
