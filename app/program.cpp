#include "app/program.h"

namespace app {

Program::Program(dosfs::DriveTable drives) : Parts(qt, std::move(drives)), window(form) {
    qt.setMainWindow(&window);
}

}  // namespace app
