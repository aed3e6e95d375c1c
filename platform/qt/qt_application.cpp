#include "platform/qt/qt_application.h"

#include "platform/qt/form_window.h"

#include <QApplication>
#include <QClipboard>
#include <QWindow>

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

namespace qtbind {

void QtApplication::createView(forms::Form& form) {
    auto window = std::make_unique<FormWindow>(form);
    if (mainWindow_) {
        window->winId();
        mainWindow_->winId();
        window->windowHandle()->setTransientParent(mainWindow_->windowHandle());
    }
    views_[&form] = std::move(window);
}

void QtApplication::formDestroyed(forms::Form& form) {
    views_.erase(&form);
}

QWidget* QtApplication::viewOf(const forms::Form& form) const {
    const auto it = views_.find(&form);
    return it == views_.end() ? nullptr : it->second.get();
}

}  // namespace qtbind
