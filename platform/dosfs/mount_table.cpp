#include "platform/dosfs/mount_table.h"

#include <QFile>
#include <QList>

#include <ctime>
#include <mutex>
#include <set>

#include <sys/sysmacros.h>

namespace dosfs {
namespace {

// A mount point as the mount table writes it: space, tab, newline and
// backslash as three octal digits after a backslash.
QByteArray unescapeMountPoint(const QByteArray& field) {
    QByteArray out;
    for (qsizetype i = 0; i < field.size(); ++i) {
        if (field[i] == '\\' && i + 3 < field.size()) {
            bool ok = false;
            const int c = field.mid(i + 1, 3).toInt(&ok, 8);
            if (ok) {
                out += static_cast<char>(c);
                i += 3;
                continue;
            }
        }
        out += field[i];
    }
    return out;
}

}  // namespace

std::vector<Mount> readMountTable() {
    std::vector<Mount> mounts;
    QFile table(QStringLiteral("/proc/self/mountinfo"));
    if (!table.open(QIODevice::ReadOnly)) return mounts;
    // Fields: id parent major:minor root mountpoint options [optional...] - type source ...
    for (const QByteArray& line : table.readAll().split('\n')) {
        const QList<QByteArray> f = line.split(' ');
        const qsizetype dash = f.indexOf("-");
        if (f.size() < 5 || dash < 0 || dash + 1 >= f.size()) continue;
        const QList<QByteArray> mm = f[2].split(':');
        Mount m;
        m.point = unescapeMountPoint(f[4]);
        m.type = f[dash + 1];
        if (mm.size() == 2) m.device = makedev(mm[0].toUInt(), mm[1].toUInt());
        mounts.push_back(std::move(m));
    }
    return mounts;
}

bool below(const QByteArray& path, const QByteArray& folder) {
    return path == folder || folder == "/" ||
           (path.startsWith(folder) && path.size() > folder.size() && path[folder.size()] == '/');
}

QByteArray mountPointOf(const QByteArray& hostPath) {
    QByteArray best = "/";
    for (const Mount& m : readMountTable())
        if (m.point.size() > best.size() && below(hostPath, m.point)) best = m.point;
    return best;
}

bool isLocalType(const QByteArray& type) {
    static const std::set<QByteArray> kLocalTypes = {
        "ext2",     "ext3",  "ext4",   "xfs",      "btrfs", "f2fs",    "jfs",
        "reiserfs", "zfs",   "nilfs2", "bcachefs", "vfat",  "msdos",   "exfat",
        "ntfs",     "ntfs3", "hfs",    "hfsplus",  "udf",   "iso9660", "squashfs",
        "erofs",    "tmpfs", "ramfs",  "overlay"};
    return kLocalTypes.count(type) != 0;
}

bool isVirtualType(const QByteArray& type) {
    static const std::set<QByteArray> kVirtualTypes = {
        "proc",    "sysfs",   "devtmpfs",   "devpts", "cgroup",     "cgroup2",
        "debugfs", "tracefs", "securityfs", "pstore", "bpf",        "configfs",
        "fusectl", "mqueue",  "hugetlbfs",  "autofs", "binfmt_misc"};
    return kVirtualTypes.count(type) != 0;
}

bool anyAwayMount(const std::function<bool(const QByteArray& point)>& test) {
    static std::mutex mutex;
    static std::vector<QByteArray> points;
    static qint64 readAt = -1;
    const qint64 now = ::time(nullptr);
    std::lock_guard<std::mutex> lock(mutex);
    if (now != readAt) {
        points.clear();
        for (const Mount& m : readMountTable())
            if (!isLocalType(m.type) && !isVirtualType(m.type)) points.push_back(m.point);
        readAt = now;
    }
    for (const QByteArray& point : points)
        if (test(point)) return true;
    return false;
}

}  // namespace dosfs
