#include "platform/dosfs/locations.h"

#include <QFile>

#include <cstdlib>

namespace dosfs {
namespace {

QByteArray xdgFolder(const char* variable, const char* fallbackBelowHome) {
    if (const char* v = std::getenv(variable); v && *v == '/') return QByteArray(v) + "/tolan";
    const char* home = std::getenv("HOME");
    return QByteArray(home && *home ? home : "/") + fallbackBelowHome + "/tolan";
}

}  // namespace

QByteArray configFolder() {
    return xdgFolder("XDG_CONFIG_HOME", "/.config");
}
QByteArray stateFolder() {
    return xdgFolder("XDG_STATE_HOME", "/.local/state");
}

DriveTable loadDriveTable() {
    DriveTable table = DriveTable::defaults();
    QFile file(QString::fromLocal8Bit(configFolder() + "/drives"));
    if (file.open(QIODevice::ReadOnly)) table.parse(file.read(1 << 20));
    return table;
}

}  // namespace dosfs
