#include "cli/held_output.h"

#include "platform/dosfs/errors.h"
#include "platform/dosfs/locations.h"

#include <cerrno>

#include <fcntl.h>
#include <unistd.h>

namespace cli {

int HeldOutput::spoolFailed(int error) {
    error_ = error;
    failedAt_ = spool_.writtenPath();
    if (failedAt_.isEmpty()) failedAt_ = dosfs::stateFolder();
    spool_.abandon();
    memory_ = {};
    return error;
}

int HeldOutput::write(QByteArrayView bytes) {
    if (out_.replacing()) return out_.write(bytes);
    if (error_) return error_;
    if (spool_.isOpen()) {
        const int error = spool_.write(bytes);
        return error ? spoolFailed(error) : 0;
    }
    memory_.append(bytes);
    if (memory_.size() <= kInMemory) return 0;
    // Only this process writes it: its name is never put in place.
    if (const int error = spool_.open(dosfs::stateFolder() + "/compare-output"))
        return spoolFailed(error);
    const int error = spool_.write(memory_);
    memory_ = {};
    return error ? spoolFailed(error) : 0;
}

void HeldOutput::drop() {
    memory_.truncate(0);
    spool_.abandon();
}

int HeldOutput::release() {
    if (error_) return error_;
    if (!spool_.isOpen()) {
        const int error = out_.write(memory_);
        memory_.truncate(0);
        return error;
    }
    if (const int error = spool_.flush()) return spoolFailed(error);
    const int fd = ::open(spool_.writtenPath().constData(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) return spoolFailed(dosfs::errorFromErrno(errno));
    QByteArray chunk(1 << 16, Qt::Uninitialized);
    int error = 0;
    while (!error) {
        const ssize_t n = ::read(fd, chunk.data(), size_t(chunk.size()));
        if (n < 0 && errno == EINTR) continue;
        if (n == 0) break;
        error = n < 0 ? spoolFailed(dosfs::errorFromErrno(errno))
                      : out_.write(QByteArrayView(chunk.constData(), n));
    }
    ::close(fd);
    spool_.abandon();
    return error;
}

}  // namespace cli
