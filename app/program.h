#pragma once
// The desktop program: its parts shown through the Qt binding.

#include "app/parts.h"
#include "platform/qt/form_window.h"
#include "platform/qt/qt_application.h"

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
};

}  // namespace app
