#pragma once
// The mount table (/proc/self/mountinfo): what is mounted where, and which
// kinds of file system may keep a reader waiting. Reading it touches no
// mount, so it can be asked about a mount that has stopped answering.

#include <QByteArray>

#include <vector>

#include <sys/types.h>

namespace dosfs {

struct Mount {
    QByteArray point;  // unescaped
    QByteArray type;   // "ext4", "fuse.sshfs", ...
    dev_t device = 0;
};
std::vector<Mount> readMountTable();

// Whether hostPath is folder or lies below it.
bool below(const QByteArray& hostPath, const QByteArray& folder);
// The mount point that holds hostPath; "/" when none is known.
QByteArray mountPointOf(const QByteArray& hostPath);

// Kinds kept on a local disk or in memory.
bool isLocalType(const QByteArray& type);
// Kinds whose entries are not files on disk (proc, sysfs, ...).
bool isVirtualType(const QByteArray& type);

}  // namespace dosfs
