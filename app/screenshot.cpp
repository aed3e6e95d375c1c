// tolan-screenshot OUT.png [FOLDER]: renders the main window (after a scan
// of FOLDER, a host folder, when given) to a PNG and leaves. A helper of
// scripts/screenshot, not part of the product.

#include "app/languages.h"
#include "app/program.h"
#include "platform/dosfs/locations.h"

#include "platform/qt/gui_process.h"

#include <QCoreApplication>
#include <QLocale>
#include <QTimer>

#include <cstdio>

int main(int argc, char** argv) {
    qtbind::GuiProcess gui(argv[0]);
    if (argc < 2) {
        std::fprintf(stderr, "usage: tolan-screenshot OUT.png [FOLDER]\n");
        return 2;
    }
    app::installLanguage(app::chooseLanguage(QLocale::system().uiLanguages()));
    app::Program program(dosfs::loadDriveTable());
    program.load();
    const QString out = QString::fromLocal8Bit(argv[1]);
    if (argc > 2) {
        const QByteArray folder(argv[2]);
        QTimer::singleShot(0, [&program, folder] {
            if (app::openStartFolder(program.form, folder)) program.form.Command3.raiseClick();
        });
    }
    QTimer::singleShot(300, [&program, out] {
        qtbind::savePicture(program.window, out);
        QCoreApplication::exit(0);
    });
    return gui.exec();
}
