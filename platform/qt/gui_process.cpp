#include "platform/qt/gui_process.h"

#include <QApplication>
#include <QPixmap>
#include <QWidget>

namespace qtbind {

GuiProcess::GuiProcess(char* programName) : argv_{programName, nullptr} {
    app_ = std::make_unique<QApplication>(argc_, argv_);
}

GuiProcess::~GuiProcess() = default;

int GuiProcess::exec() {
    return QApplication::exec();
}

bool savePicture(QWidget& window, const QString& path) {
    return window.grab().save(path);
}

}  // namespace qtbind
