#include "app/program.h"

namespace app {

Program::Program(dosfs::DriveTable drives) : Parts(qt, std::move(drives)), window(form) {
    qt.setMainWindow(&window);
    QObject::connect(&lateAnswers_, &QTimer::timeout, [this] {
        if (watch.lateAnswers()) behaviour.devicesAnswered();
    });
    lateAnswers_.start(250);
}

}  // namespace app
