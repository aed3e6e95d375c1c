// tolan: the main window and the event loop.

#include "platform/dosfs/locations.h"
#include "platform/qt/form_window.h"
#include "platform/qt/qt_application.h"
#include "shell/form1.h"

#include <QApplication>
#include <QScreen>
#include <QTimer>

int main(int argc, char** argv) {
    QApplication qapp(argc, argv);
    qtbind::QtApplication app;
    dosfs::FileSystem fs(dosfs::loadDriveTable());
    shell::Form1 form(app, fs);
    form.startLayout();
    qtbind::FormWindow window(form);
    form.show();

    // scripts/screenshot: render the window once it is laid out, then leave.
    if (const QByteArray shot = qgetenv("TOLAN_SCREENSHOT"); !shot.isEmpty()) {
        QTimer::singleShot(300, [&window, shot] {
            window.grab().save(QString::fromLocal8Bit(shot));
            QCoreApplication::exit(0);
        });
    }
    return qapp.exec();
}
