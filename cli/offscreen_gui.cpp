#include "cli/offscreen_gui.h"

#include "cli/output_target.h"

namespace cli {

std::unique_ptr<QGuiApplication> offscreenGui(char* program) {
    qInstallMessageHandler(
        [](QtMsgType type, const QMessageLogContext& context, const QString& text) {
            if (type == QtCriticalMsg || type == QtFatalMsg)
                fail(0, qFormatLogMessage(type, context, text));
        });
    static char platform[] = "-platform";
    static char offscreen[] = "offscreen";
    static char* qtArgs[] = {program, platform, offscreen, nullptr};
    static int qtCount = 3;
    return std::make_unique<QGuiApplication>(qtCount, qtArgs);
}

}  // namespace cli
