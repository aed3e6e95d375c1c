// The processors the readers may keep busy: those the program may run on,
// fewer where a control group's processor quota allows fewer.

#include "platform/readers/read_ahead.h"

#include <QFile>

#include <algorithm>

#include <sched.h>
#include <unistd.h>

namespace readers {
namespace {

// A small file's text, trimmed; empty when it cannot be read.
QByteArray fileText(const QByteArray& path) {
    QFile file(QString::fromLocal8Bit(path));
    return file.open(QIODevice::ReadOnly) ? file.readAll().trimmed() : QByteArray();
}

}  // namespace

int ReadAhead::defaultThreads() {
    // Under taskset or a container's CPU set only those processors count.
    int processors = 0;
    cpu_set_t set;
    CPU_ZERO(&set);
    if (sched_getaffinity(0, sizeof set, &set) == 0) processors = CPU_COUNT(&set);
    if (processors <= 0) processors = int(std::max(1L, ::sysconf(_SC_NPROCESSORS_ONLN)));
    // A container may show the host's processors but let it use only a few.
    const int quota = processorsOfQuota("/sys/fs/cgroup", fileText("/proc/self/cgroup"));
    return quota > 0 ? std::min(processors, quota) : processors;
}

namespace {

// Processors that `quota` microseconds of every `period` keep busy, rounded
// up; 0 for no quota ("max", -1 or unreadable).
int processorsFor(const QByteArray& quota, const QByteArray& period) {
    bool quotaOk = false, periodOk = false;
    const long long q = quota.toLongLong(&quotaOk), p = period.toLongLong(&periodOk);
    if (!quotaOk || !periodOk || q <= 0 || p <= 0) return 0;
    return int(std::min<long long>((q + p - 1) / p, 1 << 16));
}

}  // namespace

int ReadAhead::processorsOfQuota(const QByteArray& cgroupFs, const QByteArray& membership) {
    int least = 0;
    const auto take = [&least](int n) {
        if (n > 0 && (least == 0 || n < least)) least = n;
    };
    // Lines "0::/path" (one unified hierarchy) or "N:cpu,cpuacct:/path".
    for (const QByteArray& line : membership.split('\n')) {
        const qsizetype first = line.indexOf(':'), second = line.indexOf(':', first + 1);
        if (first < 0 || second < 0) continue;
        const QByteArray controllers = line.mid(first + 1, second - first - 1);
        const bool unified = line.left(first) == "0" && controllers.isEmpty();
        if (!unified && !controllers.split(',').contains("cpu")) continue;
        QByteArray path = line.mid(second + 1);
        const QByteArray top = unified ? cgroupFs : cgroupFs + "/cpu";
        // The group and each group above it, up to the top of the mount
        // (in a container the group's own folder is often that top).
        while (true) {
            const QByteArray dir = top + path;
            if (unified) {
                const QList<QByteArray> max = fileText(dir + "/cpu.max").split(' ');
                if (max.size() == 2) take(processorsFor(max[0], max[1]));
            } else {
                take(processorsFor(fileText(dir + "/cpu.cfs_quota_us"),
                                   fileText(dir + "/cpu.cfs_period_us")));
            }
            const qsizetype slash = path.lastIndexOf('/');
            if (slash < 0 || path == "/") break;
            path = slash == 0 ? QByteArray("/") : path.left(slash);
        }
    }
    return least;
}

}  // namespace readers
