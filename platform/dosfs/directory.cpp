#include "platform/dosfs/directory.h"

#include "platform/dosfs/away_reads.h"
#include "platform/dosfs/errors.h"
#include "platform/dosfs/fault_seam.h"
#include "platform/dosfs/host_name.h"
#include "platform/dosfs/mount_table.h"
#include "platform/dosfs/pending_files.h"

#include <cerrno>
#include <chrono>
#include <cstring>
#include <map>
#include <mutex>
#include <thread>

#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <sys/syscall.h>
#include <unistd.h>

namespace dosfs {
namespace {

void fillTimes(DirEntry& e, const struct stat& st) {
    e.size = st.st_size;
    e.blocks = st.st_blocks;
    e.mtime = st.st_mtim.tv_sec;
    e.readOnly = (st.st_mode & 0222) == 0;
}

// The file system type of a device, from the mount table; read again for a
// device mounted since it was last read. Empty for a device not mounted
// itself (a subvolume, say).
QByteArray mountTypeOf(dev_t device) {
    static std::mutex mutex;
    static std::map<dev_t, QByteArray> types;
    std::lock_guard<std::mutex> lock(mutex);
    auto it = types.find(device);
    if (it == types.end()) {
        types.clear();
        for (const Mount& m : readMountTable()) types[m.device] = m.type;
        it = types.emplace(device, QByteArray()).first;
    }
    return it->second;
}

}  // namespace

bool isVirtualFileSystem(dev_t device) {
    return isVirtualType(mountTypeOf(device));
}

bool isLocalFileSystem(dev_t device) {
    return isLocalType(mountTypeOf(device));
}

Directory::~Directory() {
    close();
}

void Directory::close() {
    if (fd_ >= 0) ::close(fd_);
    if (awayHandle_) away::closeFolder(awayHandle_);
    fd_ = -1;
    awayHandle_ = 0;
}

Directory::Directory(Directory&& other) noexcept
    : fd_(other.fd_),
      virtualFs_(other.virtualFs_),
      awayHandle_(other.awayHandle_),
      device_(other.device_),
      hostPath_(std::move(other.hostPath_)) {
    other.fd_ = -1;
    other.awayHandle_ = 0;
}

Directory& Directory::operator=(Directory&& other) noexcept {
    if (this != &other) {
        close();
        fd_ = other.fd_;
        virtualFs_ = other.virtualFs_;
        awayHandle_ = other.awayHandle_;
        device_ = other.device_;
        hostPath_ = std::move(other.hostPath_);
        other.fd_ = -1;
        other.awayHandle_ = 0;
    }
    return *this;
}

int Directory::adopt(int fd, QByteArray hostPath) {
    if (fd < 0) return errorFromErrno(errno);
    struct stat st {};
    if (fstat(fd, &st) != 0 || !S_ISDIR(st.st_mode)) {
        ::close(fd);
        return kPathNotFound;
    }
    close();
    fd_ = fd;
    virtualFs_ = isVirtualFileSystem(st.st_dev);
    device_ = st.st_dev;
    hostPath_ = std::move(hostPath);
    return kOk;
}

int Directory::adoptAway(int error, quint64 handle, dev_t device, bool virtualFs,
                         QByteArray hostPath) {
    if (error) return error;
    close();
    awayHandle_ = handle;
    virtualFs_ = virtualFs;
    device_ = device;
    hostPath_ = std::move(hostPath);
    return kOk;
}

int Directory::open(const QByteArray& hostPath, Directory& out) {
    if (away::goesAway(hostPath)) {
        away::Folder f;
        const int error = away::openFolder(hostPath, false, f);
        return out.adoptAway(error, f.handle, f.device, f.virtualFs, hostPath);
    }
    if (faults::folderDenied(hostPath)) return kPermissionDenied;
    if (const int fault = faults::injected(faults::Op::Open, hostPath))
        return errorFromErrno(fault);
    return out.adopt(::open(hostPath.constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC), hostPath);
}

int Directory::openNoFollow(const QByteArray& hostPath, Directory& out) {
    if (faults::folderDenied(hostPath)) return kPermissionDenied;
    if (const int fault = faults::injected(faults::Op::Open, hostPath))
        return errorFromErrno(fault);
    return out.adopt(::open(hostPath.constData(), O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC),
                     hostPath);
}

int Directory::openChild(const QByteArray& hostName, Directory& out) const {
    QByteArray path = hostPath_.endsWith('/') ? hostPath_ + hostName : hostPath_ + '/' + hostName;
    if (awayHandle_ || away::goesAway(path)) {
        away::Folder f;
        const int error = awayHandle_ ? away::openChild(awayHandle_, hostName, f)
                                      : away::openFolder(path, true, f);
        return out.adoptAway(error, f.handle, f.device, f.virtualFs, std::move(path));
    }
    if (faults::folderDenied(path)) return kPermissionDenied;
    if (const int fault = faults::injected(faults::Op::Open, path)) return errorFromErrno(fault);
    const int fd =
        ::openat(fd_, hostName.constData(), O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC);
    return out.adopt(fd, std::move(path));
}

Directory::Stamp Directory::stamp() const {
    if (awayHandle_) return away::folderStamp(awayHandle_);
    Stamp s;
    struct stat st {};
    if (fd_ < 0 || ::fstat(fd_, &st) != 0) return s;
    s.seconds = st.st_ctim.tv_sec;
    s.nanoseconds = st.st_ctim.tv_nsec;
    s.removed = st.st_nlink == 0;
    return s;
}

int Directory::read(FolderContents& out) const {
    out.folders.clear();
    out.files.clear();
    if (awayHandle_) return away::readFolder(awayHandle_, out);
    if (fd_ < 0) return kPathNotFound;
    if (virtualFs_) return kOk;
    if (const int fault = faults::injected(faults::Op::ReadFolder, hostPath_))
        return errorFromErrno(fault);
    if (const int delay = faults::folderReadDelay(hostPath_))
        std::this_thread::sleep_for(std::chrono::milliseconds(delay));
    // The entries straight from the kernel, from the folder's start: no
    // second descriptor and no stream of entries around it.
    if (::lseek(fd_, 0, SEEK_SET) != 0) return errorFromErrno(errno);
    alignas(8) char buffer[32768];
    for (;;) {
        const long got = ::syscall(SYS_getdents64, fd_, buffer, sizeof buffer);
        if (got < 0) return errorFromErrno(errno);
        if (got == 0) return kOk;
        for (long at = 0; at < got;) {
            const auto* d = reinterpret_cast<const dirent64*>(buffer + at);
            at += d->d_reclen;
            const char* n = d->d_name;
            if (n[0] == '.' && (n[1] == 0 || (n[1] == '.' && n[2] == 0))) continue;
            const size_t length = std::strlen(n);
            // A file this or another running Tolan is writing is not listed.
            if (isJournaledTemporary(fd_, n, length)) continue;
            DirEntry e;
            e.hidden = n[0] == '.';
            const Found found = classify(n, d->d_type, e);
            if (found == Found::Nothing) continue;
            e.name = decodeHostName(QByteArray::fromRawData(n, static_cast<qsizetype>(length)));
            if (found == Found::Folder) e.hostName = QByteArray(n, static_cast<qsizetype>(length));
            (found == Found::Folder ? out.folders : out.files).push_back(std::move(e));
        }
    }
}

// One stat an entry at most when the folder tells its type, two for a link.
Directory::Found Directory::classify(const char* n, unsigned char type, DirEntry& e) const {
    struct stat st {};
    if (type == DT_DIR) return Found::Folder;
    if (type == DT_UNKNOWN) {
        if (fstatat(fd_, n, &st, AT_SYMLINK_NOFOLLOW) != 0) return Found::File;  // vanished
        if (S_ISDIR(st.st_mode)) return Found::Folder;
        if (!S_ISLNK(st.st_mode)) {
            fillTimes(e, st);
            return Found::File;
        }
        type = DT_LNK;
    } else if (type != DT_LNK) {
        // A file whose stat fails is listed with a blank size, as one that
        // vanished since the folder was read.
        if (!faults::injected(faults::Op::Stat, hostPath_) &&
            fstatat(fd_, n, &st, AT_SYMLINK_NOFOLLOW) == 0)
            fillTimes(e, st);
        return Found::File;
    }
    // A link to a folder is neither listed nor entered; a dangling one is a
    // file whose size cannot be read.
    if (fstatat(fd_, n, &st, 0) == 0) {
        if (S_ISDIR(st.st_mode)) return Found::Nothing;
        fillTimes(e, st);
    }
    return Found::File;
}

}  // namespace dosfs
