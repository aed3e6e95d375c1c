#include "platform/dosfs/locations.h"

#include <cerrno>
#include <cstdlib>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

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

DriveFile readDriveFile() {
    DriveFile file;
    file.path = configFolder() + "/drives";
    file.table = DriveTable::defaults();
    // A pipe is not waited on, nor anything but a file read.
    const int fd = ::open(file.path.constData(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0) return file;
    struct stat st {};
    if (::fstat(fd, &st) != 0 || !S_ISREG(st.st_mode)) {
        file.refused = true;
        ::close(fd);
        return file;
    }
    QByteArray text;
    char buffer[65536];
    for (ssize_t n; (n = ::read(fd, buffer, sizeof buffer)) != 0;) {
        if (n < 0 && errno == EINTR) continue;
        if (n < 0) break;
        text.append(buffer, n);
    }
    ::close(fd);
    file.table.parse(text, &file.badLines);
    return file;
}

DriveTable loadDriveTable() {
    return readDriveFile().table;
}

}  // namespace dosfs
