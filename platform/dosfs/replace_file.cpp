#include "platform/dosfs/replace_file.h"

#include "platform/dosfs/errors.h"
#include "platform/dosfs/fault_seam.h"
#include "platform/dosfs/pending_files.h"

#include <QDir>

#include <cerrno>

#include <fcntl.h>
#include <unistd.h>

namespace dosfs {
namespace {

// Whether the seam fails this operation on the file; errno then tells how.
bool failed(faults::Op op, const QByteArray& hostPath) {
    const int fault = faults::injected(op, hostPath);
    if (fault) errno = fault;
    return fault != 0;
}

}  // namespace

int Replacement::begin(const QByteArray& hostPath) {
    discard();
    const QByteArray temp = notePendingBeside(hostPath);
    const int fd = ::open(temp.constData(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
    if (fd < 0) {
        const int err = errno;
        clearPending(temp);
        return errorFromErrno(err);
    }
    fd_ = fd;
    written_ = writtenBack_ = 0;
    finalPath_ = hostPath;
    tempPath_ = temp;
    return kOk;
}

void Replacement::written(qsizetype bytes) {
    constexpr long long kWriteBackBytes = 8LL << 20;
    written_ += bytes;
    if (fd_ < 0 || written_ - writtenBack_ < kWriteBackBytes) return;
    // Only a start: errors of the device are told by the flush in commit().
    ::sync_file_range(fd_, writtenBack_, written_ - writtenBack_, SYNC_FILE_RANGE_WRITE);
    writtenBack_ = written_;
}

int Replacement::commit() {
    int err = kOk;
    if (failed(faults::Op::Fsync, finalPath_) || ::fsync(fd_) != 0) err = errorFromErrno(errno);
    if ((failed(faults::Op::Close, finalPath_) || ::close(fd_) != 0) && !err)
        err = errorFromErrno(errno);
    fd_ = -1;
    if (!err && (failed(faults::Op::Rename, finalPath_) ||
                 ::rename(tempPath_.constData(), finalPath_.constData()) != 0))
        err = errorFromErrno(errno);
    if (err) ::unlink(tempPath_.constData());
    clearPending(tempPath_);
    tempPath_.clear();
    return err;
}

void Replacement::discard() {
    if (fd_ >= 0) ::close(fd_);
    fd_ = -1;
    if (tempPath_.isEmpty()) return;
    ::unlink(tempPath_.constData());
    clearPending(tempPath_);
    tempPath_.clear();
}

int writeAll(int fd, const char* p, qsizetype left, long long& room, const QByteArray& hostPath) {
    while (left > 0) {
        size_t chunk = static_cast<size_t>(left);
        if (room >= 0 && static_cast<long long>(chunk) > room) chunk = static_cast<size_t>(room);
        const ssize_t n = chunk == 0                            ? (errno = ENOSPC, -1)
                          : failed(faults::Op::Write, hostPath) ? -1
                                                                : ::write(fd, p, chunk);
        if (n < 0 && errno == EINTR) continue;
        if (n < 0) return errorFromErrno(errno);
        if (room >= 0) room -= n;
        p += n;
        left -= n;
    }
    return kOk;
}

int replaceFile(const QByteArray& hostPath, const QByteArray& contents) {
    const QByteArray folder = hostPath.left(hostPath.lastIndexOf('/'));
    if (faults::folderDenied(folder)) return kPermissionDenied;
    if (!folder.isEmpty() && !QDir().mkpath(QString::fromLocal8Bit(folder))) return kPathNotFound;
    if (failed(faults::Op::Open, hostPath)) return errorFromErrno(errno);
    Replacement replacement;
    if (const int error = replacement.begin(hostPath)) return error;
    long long room = faults::diskRoomIn(folder);
    if (const int error =
            writeAll(replacement.fd(), contents.constData(), contents.size(), room, hostPath))
        return error;  // the replacement removes its file
    return replacement.commit();
}

}  // namespace dosfs
