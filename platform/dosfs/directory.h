#pragma once
// Reading one host folder: its subfolders and files with one stat per file.

#include "platform/dosfs/host_name.h"

#include <QByteArray>
#include <QString>

#include <cstdint>
#include <vector>

#include <sys/types.h>

namespace dosfs {

constexpr qint64 kNoSize = -1;
constexpr qint64 kNoTime = INT64_MIN;

struct DirEntry {
    QString name;  // the DOS name (see host_name.h)
    // The bytes on disk, kept for folders, which are opened by them; a file's
    // come back from its name (hostNameOf), which saves a string a file.
    QByteArray hostName;
    qint64 size = kNoSize;   // kNoSize when it cannot be read (vanished, dangling link)
    qint64 mtime = kNoTime;  // seconds since the epoch; kNoTime when it cannot be read
    bool hidden = false;     // the name starts with "."
    bool readOnly = false;   // nobody may write it
    // The space it takes on disk in 512-byte blocks, from the same stat;
    // kNoSize when not known (then its length stands for it).
    qint64 blocks = kNoSize;
};

// The bytes on disk of an entry's name.
inline QByteArray hostNameOf(const DirEntry& e) {
    return e.hostName.isEmpty() ? encodeHostName(e.name) : e.hostName;
}

struct FolderContents {
    std::vector<DirEntry> folders;  // subfolders; links to folders are left out
    std::vector<DirEntry> files;    // everything else that is not a folder
    // Entries a scan took out after the read (the patterns the user names
    // leave them out), each by the place of the pattern that did.
    struct TakenOut {
        int pattern;
        bool folder;
    };
    std::vector<TakenOut> takenOut;
};

// An open host folder. Children are opened relative to it, so paths of any
// length can be walked.
class Directory {
  public:
    Directory() = default;
    ~Directory();
    Directory(Directory&& other) noexcept;
    Directory& operator=(Directory&& other) noexcept;
    Directory(const Directory&) = delete;
    Directory& operator=(const Directory&) = delete;

    // Error numbers as in errors.h; 0 on success.
    // A folder on a mount that may stop answering is read by the helper
    // process when it runs (see away_reads.h), by its path.
    static int open(const QByteArray& hostPath, Directory& out);
    int openChild(const QByteArray& hostName, Directory& out) const;
    // As open(), but a link is not followed: how the helper opens a child.
    static int openNoFollow(const QByteArray& hostPath, Directory& out);

    bool isOpen() const { return fd_ >= 0 || awayHandle_ != 0; }
    dev_t device() const { return device_; }
    bool isVirtual() const { return virtualFs_; }
    const QByteArray& hostPath() const { return hostPath_; }

    // Reads every entry, hidden ones included, but ".", ".." and the files a
    // running Tolan is still writing (pending_files.h). A folder of a kernel
    // virtual file system (proc, sysfs, ...) reads as empty.
    int read(FolderContents& out) const;
    // When the folder's entries last changed, and whether it still exists;
    // a folder read earlier is read again when this differs.
    struct Stamp {
        qint64 seconds = 0;
        qint64 nanoseconds = 0;
        bool removed = true;
        bool operator==(const Stamp&) const = default;
    };
    Stamp stamp() const;

  private:
    int adopt(int fd, QByteArray hostPath);
    // Takes a folder the helper opened.
    int adoptAway(int error, quint64 handle, dev_t device, bool virtualFs, QByteArray hostPath);
    void close();
    // What an entry of the given directory-entry type is, its times filled
    // in for a file; Nothing for a link to a folder.
    enum class Found { Folder, File, Nothing };
    Found classify(const char* name, unsigned char type, DirEntry& e) const;

    int fd_ = -1;
    bool virtualFs_ = false;
    quint64 awayHandle_ = 0;  // the helper's, when it reads the folder
    dev_t device_ = 0;
    QByteArray hostPath_;
};

// True for the devices of mounts whose entries are not files on disk.
bool isVirtualFileSystem(dev_t device);
// True for the devices of mounts of a file system kept on a local disk or in
// memory; false for network and FUSE mounts, whose reads may wait on a
// server for as long as it does not answer, and for devices not known.
bool isLocalFileSystem(dev_t device);

}  // namespace dosfs
