#include "platform/qt/qt_application.h"

#include <QApplication>
#include <QClipboard>

namespace qtbind {

void QtApplication::letEventsRun() {
    QCoreApplication::processEvents(QEventLoop::AllEvents);
}

void QtApplication::letPaintRun() {
    QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
}

void QtApplication::beep() {
    QApplication::beep();
}

void QtApplication::clipboardClear() {
    QGuiApplication::clipboard()->clear();
}

void QtApplication::clipboardSetText(const QString& text) {
    QGuiApplication::clipboard()->setText(text);
}

void QtApplication::end() {
    ended_ = true;
    if (onEnd) onEnd();
    QCoreApplication::exit(0);
}

}  // namespace qtbind
