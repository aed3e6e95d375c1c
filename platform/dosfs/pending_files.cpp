#include "platform/dosfs/pending_files.h"

#include "platform/dosfs/locations.h"

#include <QDir>
#include <QFile>

#include <atomic>
#include <cerrno>
#include <cstring>
#include <mutex>
#include <random>
#include <set>

#include <fcntl.h>
#include <pthread.h>
#include <sys/stat.h>
#include <unistd.h>

namespace dosfs {
namespace {

constexpr int kEndingSignals[] = {SIGINT, SIGTERM, SIGHUP};

// What a signal handler may read: the temporaries as plain strings in fixed
// slots, and the journal's name. A temporary whose name does not fit, or
// that finds no free slot, is left to the next start's sweep.
struct SignalSlot {
    std::atomic<bool> used{false};
    char path[4096];
};
SignalSlot signalSlots[16];
char signalJournal[4096];

void copyForSignals(char* to, size_t room, const QByteArray& from) {
    const size_t n = static_cast<size_t>(from.size()) < room ? static_cast<size_t>(from.size()) : 0;
    std::memcpy(to, from.constData(), n);
    to[n] = 0;
}

void onEndingSignal(int sig) {
    for (SignalSlot& slot : signalSlots)
        if (slot.used.load(std::memory_order_acquire)) ::unlink(slot.path);
    if (signalJournal[0]) ::unlink(signalJournal);
    ::_exit(128 + sig);
}

// Takes the signals that would end the program with their default action;
// a program that handles them itself (the window closes on them) keeps its
// handlers, and one started to ignore them (nohup) keeps ignoring them.
void armSignals() {
    static std::once_flag once;
    std::call_once(once, [] {
        for (int sig : kEndingSignals) {
            struct sigaction old {};
            if (sigaction(sig, nullptr, &old) != 0 || (old.sa_flags & SA_SIGINFO) ||
                old.sa_handler != SIG_DFL)
                continue;
            struct sigaction sa {};
            sa.sa_handler = onEndingSignal;
            sigfillset(&sa.sa_mask);
            sigaction(sig, &sa, nullptr);
        }
    });
}

std::set<QByteArray>& pending() {
    static std::set<QByteArray> names;
    return names;
}

QByteArray journalPath(pid_t pid) {
    return stateFolder() + "/pending-" + QByteArray::number(pid);
}

// Rewrites this process's journal; it goes when nothing is pending. Called
// with the signals held, so the handler never sees a name half copied.
void writeJournal() {
    const QByteArray path = journalPath(::getpid());
    if (pending().empty()) {
        signalJournal[0] = 0;
        ::unlink(path.constData());
        return;
    }
    QDir().mkpath(QString::fromLocal8Bit(stateFolder()));
    QByteArray text;
    for (const QByteArray& name : pending()) text += name + '\n';
    const int fd = ::open(path.constData(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0600);
    if (fd < 0) return;  // the file is still written; only the clean-up is lost
    copyForSignals(signalJournal, sizeof signalJournal, path);
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

HeldSignals::HeldSignals() {
    sigset_t ending;
    sigemptyset(&ending);
    for (int sig : kEndingSignals) sigaddset(&ending, sig);
    pthread_sigmask(SIG_BLOCK, &ending, &before_);
}

HeldSignals::~HeldSignals() {
    pthread_sigmask(SIG_SETMASK, &before_, nullptr);
}

QByteArray notePendingBeside(const QByteArray& hostPath) {
    armSignals();
    static std::mt19937 random{std::random_device{}()};
    static const char letters[] = "abcdefghijklmnopqrstuvwxyz0123456789";
    QByteArray name;
    do {
        name = hostPath + ".tolan-";
        for (int i = 0; i < 8; ++i) name += letters[random() % (sizeof letters - 1)];
    } while (::access(name.constData(), F_OK) == 0);
    for (SignalSlot& slot : signalSlots) {
        if (slot.used.load(std::memory_order_relaxed) ||
            static_cast<size_t>(name.size()) >= sizeof slot.path)
            continue;
        copyForSignals(slot.path, sizeof slot.path, name);
        slot.used.store(true, std::memory_order_release);
        break;
    }
    pending().insert(name);
    writeJournal();
    return name;
}

void clearPending(const QByteArray& tempPath) {
    for (SignalSlot& slot : signalSlots)
        if (slot.used.load(std::memory_order_relaxed) && tempPath == slot.path)
            slot.used.store(false, std::memory_order_release);
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
