#pragma once
// The process's Qt application, owned by the binding so that programs built
// on it never touch Qt Widgets themselves. Create one before any window.

#include <QString>

#include <memory>

class QApplication;
class QWidget;

namespace qtbind {

class GuiProcess {
  public:
    // Qt sees only the program's name: the program's own arguments are its own.
    explicit GuiProcess(char* programName);
    ~GuiProcess();
    GuiProcess(const GuiProcess&) = delete;
    GuiProcess& operator=(const GuiProcess&) = delete;

    // Runs the event loop until the program ends; returns its exit status.
    int exec();

  private:
    int argc_ = 1;
    char* argv_[2];
    std::unique_ptr<QApplication> app_;
};

// Renders a window as it is on screen to a PNG file.
bool savePicture(QWidget& window, const QString& path);

}  // namespace qtbind
