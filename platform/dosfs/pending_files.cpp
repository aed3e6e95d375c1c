#include "platform/dosfs/pending_files.h"

#include "platform/dosfs/locations.h"

#include <QDir>
#include <QFile>

#include <cerrno>
#include <csignal>
#include <random>
#include <set>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace dosfs {
namespace {

std::set<QByteArray>& pending() {
    static std::set<QByteArray> names;
    return names;
}

QByteArray journalPath(pid_t pid) {
    return stateFolder() + "/pending-" + QByteArray::number(pid);
}

// Rewrites this process's journal; it goes when nothing is pending.
void writeJournal() {
    const QByteArray path = journalPath(::getpid());
    if (pending().empty()) {
        ::unlink(path.constData());
        return;
    }
    QDir().mkpath(QString::fromLocal8Bit(stateFolder()));
    QByteArray text;
    for (const QByteArray& name : pending()) text += name + '\n';
    const int fd = ::open(path.constData(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0600);
    if (fd < 0) return;  // the file is still written; only the clean-up is lost
    const char* p = text.constData();
    qsizetype left = text.size();
    while (left > 0) {
        const ssize_t n = ::write(fd, p, static_cast<size_t>(left));
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) break;
        p += n;
        left -= n;
    }
    ::fsync(fd);
    ::close(fd);
}

// Only names this program makes are ever removed, whatever a journal says.
bool isOurTemporary(const QByteArray& name) {
    const QByteArray base = name.mid(name.lastIndexOf('/') + 1);
    return base.endsWith(".new") || base.contains(".tolan-");
}

}  // namespace

QByteArray notePendingBeside(const QByteArray& hostPath) {
    static std::mt19937 random{std::random_device{}()};
    static const char letters[] = "abcdefghijklmnopqrstuvwxyz0123456789";
    QByteArray name;
    do {
        name = hostPath + ".tolan-";
        for (int i = 0; i < 8; ++i) name += letters[random() % (sizeof letters - 1)];
    } while (::access(name.constData(), F_OK) == 0);
    notePending(name);
    return name;
}

void notePending(const QByteArray& tempPath) {
    pending().insert(tempPath);
    writeJournal();
}

void clearPending(const QByteArray& tempPath) {
    if (pending().erase(tempPath)) writeJournal();
}

int sweepPending() {
    const QDir folder(QString::fromLocal8Bit(stateFolder()));
    int removed = 0;
    for (const QString& journal : folder.entryList({QStringLiteral("pending-*")}, QDir::Files)) {
        bool ok = false;
        const pid_t pid = journal.mid(8).toInt(&ok);
        if (!ok || pid == ::getpid() || (::kill(pid, 0) == 0 || errno == EPERM)) continue;
        const QByteArray path = stateFolder() + '/' + journal.toLocal8Bit();
        QFile file(QString::fromLocal8Bit(path));
        if (file.open(QIODevice::ReadOnly)) {
            for (const QByteArray& name : file.read(1 << 20).split('\n'))
                if (!name.isEmpty() && isOurTemporary(name) && ::unlink(name.constData()) == 0)
                    ++removed;
        }
        ::unlink(path.constData());
    }
    return removed;
}

}  // namespace dosfs
