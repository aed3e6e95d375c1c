#include "cli/output_file.h"

#include "platform/dosfs/errors.h"
#include "platform/dosfs/fault_seam.h"

#include <csignal>
#include <cstring>

#include <cerrno>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace cli {
namespace {

char signalTemp[4096];

void onSignal(int sig) {
    if (signalTemp[0]) ::unlink(signalTemp);
    ::_exit(128 + sig);
}

}  // namespace

int OutputFile::openStandardOutput() {
    fd_ = STDOUT_FILENO;
    return dosfs::kOk;
}

int OutputFile::openReplacing(const QByteArray& hostPath) {
    path_ = hostPath;
    struct stat st {};
    if (::stat(hostPath.constData(), &st) == 0) {
        if (S_ISDIR(st.st_mode)) return dosfs::kPathFileAccessError;
        // A device or a pipe is written to, never replaced by a file.
        if (!S_ISREG(st.st_mode)) {
            fd_ = ::open(hostPath.constData(), O_WRONLY | O_CLOEXEC);
            return fd_ < 0 ? dosfs::errorFromErrno(errno) : dosfs::kOk;
        }
        // A read-only file is not replaced, as it would not be written.
        if ((st.st_mode & 0222) == 0) return dosfs::kPermissionDenied;
    }
    if (const int error = replacement_.begin(hostPath)) return error;
    fd_ = replacement_.fd();
    room_ = dosfs::faults::diskRoomIn(hostPath.left(hostPath.lastIndexOf('/')));
    removeOnSignals(replacement_.tempPath());
    return dosfs::kOk;
}

int OutputFile::write(const QByteArray& bytes) {
    if (error_) return error_;
    buffer_ += bytes;
    return buffer_.size() >= 64 * 1024 ? flush() : dosfs::kOk;
}

int OutputFile::flush() {
    if (!error_ && !buffer_.isEmpty()) {
        error_ = dosfs::writeAll(fd_, buffer_.constData(), buffer_.size(), room_, path_);
        if (replacement_.active()) replacement_.written(buffer_.size());
    }
    buffer_.truncate(0);  // keeps its room
    return error_;
}

int OutputFile::finish() {
    flush();
    if (fd_ >= 0 && fd_ != STDOUT_FILENO && !replacement_.active() && ::close(fd_) != 0 && !error_)
        error_ = dosfs::errorFromErrno(errno);
    if (replacement_.active()) {
        if (!error_) error_ = replacement_.commit();
        replacement_.discard();
        removeOnSignals(QByteArray());
    }
    return error_;
}

void removeOnSignals(const QByteArray& tempPath) {
    const size_t n = std::min<size_t>(static_cast<size_t>(tempPath.size()), sizeof signalTemp - 1);
    std::memcpy(signalTemp, tempPath.constData(), n);
    signalTemp[n] = 0;
    struct sigaction sa {};
    sa.sa_handler = tempPath.isEmpty() ? SIG_DFL : onSignal;
    sigemptyset(&sa.sa_mask);
    for (int sig : {SIGINT, SIGTERM, SIGHUP}) sigaction(sig, &sa, nullptr);
}

}  // namespace cli
