#include "platform/dosfs/file_writer.h"

#include "platform/dosfs/errors.h"
#include "platform/dosfs/fault_seam.h"
#include "platform/dosfs/pending_files.h"

#include <QDir>

#include <cerrno>
#include <cstdlib>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace dosfs {

using faults::fails;
using faults::Op;

QByteArray folderOf(const QByteArray& hostPath) {
    const qsizetype slash = hostPath.lastIndexOf('/');
    if (slash < 0) return ".";
    return slash == 0 ? QByteArray("/") : hostPath.left(slash);
}

QByteArray absoluteHostPath(const QByteArray& hostPath) {
    if (hostPath.startsWith('/')) return hostPath;
    char* here = ::getcwd(nullptr, 0);
    if (!here) return hostPath;
    QByteArray path(here);
    std::free(here);
    return path + '/' + (hostPath.startsWith("./") ? hostPath.mid(2) : hostPath);
}

int FileWriter::open(const QByteArray& hostPath, Mode mode) {
    abandon();
    written_ = writtenBack_ = 0;
    error_ = openTarget(hostPath, mode);
    return error_;
}

int FileWriter::openTarget(const QByteArray& hostPath, Mode mode) {
    // Absolute, so that the journal names the file beside it wherever the
    // next run starts.
    path_ = absoluteHostPath(hostPath);
    const QByteArray folder = folderOf(path_);
    if (fails(Op::Open, hostPath)) return errorFromErrno(errno);
    if (faults::folderDenied(folder)) return kPermissionDenied;
    room_ = faults::diskRoomIn(folder);
    struct stat st {};
    const bool own = mode == Mode::Own;
    const bool exists =
        (own ? ::lstat(path_.constData(), &st) : ::stat(path_.constData(), &st)) == 0;
    if (exists && S_ISDIR(st.st_mode)) return kPathFileAccessError;
    const bool regular = exists && S_ISREG(st.st_mode);
    if (mode == Mode::Append || (exists && !regular && !own)) {
        const int flags = O_WRONLY | O_CREAT | O_CLOEXEC | (mode == Mode::Append ? O_APPEND : 0);
        fd_ = ::open(path_.constData(), flags, 0666);
        owned_ = true;
        return fd_ < 0 ? errorFromErrno(errno) : kOk;
    }
    if (regular && (st.st_mode & 0222) == 0) return kPermissionDenied;
    // A link the user named is followed: the file it names is replaced, the
    // link stays. At a name of the program's own the link itself goes.
    struct stat link {};
    if (exists && !own && ::lstat(path_.constData(), &link) == 0 && S_ISLNK(link.st_mode)) {
        if (char* real = ::realpath(path_.constData(), nullptr)) {
            path_ = real;
            std::free(real);
        }
    }
    if (const int error = beginReplacement()) return error;
    // The new file keeps the permissions the old one had, but no bit that
    // would run it as someone else.
    if (regular) ::fchmod(fd_, st.st_mode & 0777);
    return kOk;
}

int FileWriter::beginReplacement() {
    // From before the file exists until its name is noted, a signal that
    // ends the program waits; after, it removes the file.
    const HeldSignals held;
    const QByteArray temp = notePendingBeside(path_);
    const int fd =
        ::open(temp.constData(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0666);
    if (fd < 0) {
        const int err = errno;
        clearPending(temp);
        return errorFromErrno(err);
    }
    fd_ = fd;
    owned_ = true;
    tempPath_ = temp;
    return kOk;
}

void FileWriter::attach(int fd) {
    abandon();
    error_ = kOk;
    fd_ = fd;
    owned_ = false;
    room_ = -1;
    path_.clear();
}

int FileWriter::flush() {
    if (error_ || fd_ < 0) {
        buffer_.truncate(0);
        return error_;
    }
    const char* p = buffer_.constData();
    qsizetype left = buffer_.size();
    while (left > 0) {
        size_t chunk = static_cast<size_t>(left);
        if (room_ >= 0 && static_cast<long long>(chunk) > room_) chunk = static_cast<size_t>(room_);
        const ssize_t n = chunk == 0                ? (errno = ENOSPC, -1)
                          : fails(Op::Write, path_) ? -1
                                                    : ::write(fd_, p, chunk);
        if (n < 0 && errno == EINTR) continue;
        if (n < 0) {
            error_ = errorFromErrno(errno);
            break;
        }
        if (room_ >= 0) room_ -= n;
        p += n;
        left -= n;
    }
    if (replacing() && !error_) {
        // Once several megabytes have gathered the device is asked to start
        // writing them, so that the flush in finish() waits on the last part
        // only. Errors of the device are told by that flush.
        constexpr long long kWriteBackBytes = 8LL << 20;
        written_ += buffer_.size();
        if (written_ - writtenBack_ >= kWriteBackBytes) {
            ::sync_file_range(fd_, writtenBack_, written_ - writtenBack_, SYNC_FILE_RANGE_WRITE);
            writtenBack_ = written_;
        }
    }
    buffer_.truncate(0);  // keeps its room for what comes next
    return error_;
}

int FileWriter::finish() {
    if (fd_ < 0) return error_;
    flush();
    if (replacing() && !error_ && (fails(Op::Fsync, path_) || ::fsync(fd_) != 0))
        error_ = errorFromErrno(errno);
    if (owned_ && (fails(Op::Close, path_) || ::close(fd_) != 0) && !error_)
        error_ = errorFromErrno(errno);
    fd_ = -1;
    if (!replacing()) return error_;
    {
        const HeldSignals held;
        if (!error_ &&
            (fails(Op::Rename, path_) || ::rename(tempPath_.constData(), path_.constData()) != 0))
            error_ = errorFromErrno(errno);
        if (error_) ::unlink(tempPath_.constData());
        clearPending(tempPath_);
    }
    tempPath_.clear();
    return error_;
}

void FileWriter::abandon() {
    if (fd_ >= 0 && !replacing()) flush();
    if (fd_ >= 0 && owned_) ::close(fd_);
    fd_ = -1;
    buffer_.truncate(0);
    if (!replacing()) return;
    const HeldSignals held;
    ::unlink(tempPath_.constData());
    clearPending(tempPath_);
    tempPath_.clear();
}

int replaceFile(const QByteArray& hostPath, const QByteArray& contents) {
    const QByteArray folder = folderOf(hostPath);
    if (faults::folderDenied(folder)) return kPermissionDenied;
    if (!QDir().mkpath(QString::fromLocal8Bit(folder))) return kPathNotFound;
    FileWriter writer;
    if (const int error = writer.open(hostPath)) return error;
    writer.write(contents);
    return writer.finish();
}

}  // namespace dosfs
