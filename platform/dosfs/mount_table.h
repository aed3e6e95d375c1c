#pragma once
// The mount table (/proc/self/mountinfo): what is mounted where, and which
// kinds of file system may keep a reader waiting. Reading it touches no
// mount, so it can be asked about a mount that has stopped answering.

#include <QByteArray>

#include <functional>
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

// Whether `test` holds for a mount point whose reads may stop answering (a
// network or FUSE mount). The table is read again at most every second:
// mounts come and go rarely, and a walk asks for every folder.
bool anyAwayMount(const std::function<bool(const QByteArray& point)>& test);

}  // namespace dosfs
