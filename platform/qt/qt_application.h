#pragma once
// The program-wide services on Qt: the event queue, the beep, the clipboard.

#include "platform/forms/application.h"

#include <functional>

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
    bool ended() const { return ended_; }
    std::function<void()> onEnd;

  private:
    bool ended_ = false;
};

}  // namespace qtbind
