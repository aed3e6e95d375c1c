#include "platform/dosfs/replace_file.h"

#include "platform/dosfs/errors.h"
#include "platform/dosfs/fault_seam.h"
#include "platform/dosfs/pending_files.h"

#include <QDir>

#include <cerrno>

#include <fcntl.h>
#include <unistd.h>

namespace dosfs {

int replaceFile(const QByteArray& hostPath, const QByteArray& contents) {
    const QByteArray folder = hostPath.left(hostPath.lastIndexOf('/'));
    if (faults::folderDenied(folder)) return kPermissionDenied;
    if (!folder.isEmpty() && !QDir().mkpath(QString::fromLocal8Bit(folder))) return kPathNotFound;
    const QByteArray temp = hostPath + ".new";
    auto failed = [&hostPath](faults::Op op) {
        const int fault = faults::injected(op, hostPath);
        if (fault) errno = fault;
        return fault != 0;
    };
    if (failed(faults::Op::Open)) return errorFromErrno(errno);
    notePending(temp);
    const int fd = ::open(temp.constData(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
    if (fd < 0) {
        const int err = errno;
        clearPending(temp);
        return errorFromErrno(err);
    }
    long long room = faults::diskRoomIn(folder);
    const char* p = contents.constData();
    qsizetype left = contents.size();
    int error = 0;
    while (left > 0) {
        size_t chunk = static_cast<size_t>(left);
        if (room >= 0 && static_cast<long long>(chunk) > room) chunk = static_cast<size_t>(room);
        const ssize_t n = chunk == 0                  ? (errno = ENOSPC, -1)
                          : failed(faults::Op::Write) ? -1
                                                      : ::write(fd, p, chunk);
        if (n < 0 && errno == EINTR) continue;
        if (n < 0) {
            error = errorFromErrno(errno);
            break;
        }
        if (room >= 0) room -= n;
        p += n;
        left -= n;
    }
    if (!error && (failed(faults::Op::Fsync) || ::fsync(fd) != 0)) error = errorFromErrno(errno);
    if ((failed(faults::Op::Close) || ::close(fd) != 0) && !error) error = errorFromErrno(errno);
    if (!error &&
        (failed(faults::Op::Rename) || ::rename(temp.constData(), hostPath.constData()) != 0))
        error = errorFromErrno(errno);
    if (error) ::unlink(temp.constData());
    clearPending(temp);
    return error;
}

}  // namespace dosfs
