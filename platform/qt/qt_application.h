#pragma once
// The program-wide services on Qt: the event queue, the beep, the clipboard.

#include "platform/forms/application.h"

#include <functional>
#include <map>
#include <memory>

class QWidget;

namespace qtbind {

class QtApplication : public forms::Application {
  public:
    void letEventsRun() override;
    void letPaintRun() override;
    void beep() override;
    void clipboardClear() override;
    void clipboardSetText(const QString& text) override;
    // Leaves the event loop; what ends the process is up to the caller of
    // the loop (the program returns from main, a test goes on).
    void end() override;
    // Dialogs get a window of their own, kept above the main window.
    void createView(forms::Form& form) override;
    void formDestroyed(forms::Form& form) override;
    // Qt's print preview above the main window (print_preview.cpp).
    forms::PrintOutcome printPreview(forms::PrintDocument& document) override;
    // The occupancy graph's window (graph_window.cpp).
    void showGraph(std::shared_ptr<treemap::GraphDocument> document) override;
    bool graphOpen() const override;
    void updateGraph(std::shared_ptr<treemap::GraphDocument> document) override;
    QWidget* graphWindow() const { return graphWindow_.get(); }
    void setMainWindow(QWidget* w) { mainWindow_ = w; }
    QWidget* viewOf(const forms::Form& form) const;
    bool ended() const { return ended_; }
    std::function<void()> onEnd;

  private:
    bool ended_ = false;
    QWidget* mainWindow_ = nullptr;
    std::map<const forms::Form*, std::unique_ptr<QWidget>> views_;
    std::unique_ptr<QWidget> graphWindow_;
};

}  // namespace qtbind
