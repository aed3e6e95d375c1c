#pragma once
// The desktop program: its parts shown through the Qt binding.

#include "app/parts.h"
#include "platform/qt/form_window.h"
#include "platform/qt/qt_application.h"

#include <QTimer>

namespace app {

// The Qt services come first: the parts are built on them.
struct QtServices {
    qtbind::QtApplication qt;
};

class Program : public QtServices, public Parts {
  public:
    // Needs a qtbind::GuiProcess; loading shows the main window.
    explicit Program(dosfs::DriveTable drives);

    qtbind::FormWindow window;

  private:
    // Asks, a few times a second, whether a device the window stopped
    // waiting for has answered.
    QTimer lateAnswers_;
};

}  // namespace app
