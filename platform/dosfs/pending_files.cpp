#include "platform/dosfs/pending_files.h"

#include "platform/dosfs/locations.h"

#include <QDir>
#include <QList>

#include <atomic>
#include <cerrno>
#include <cstring>
#include <mutex>
#include <random>
#include <set>

#include <dirent.h>
#include <fcntl.h>
#include <pthread.h>
#include <sys/stat.h>
#include <unistd.h>

namespace dosfs {
namespace {

constexpr int kEndingSignals[] = {SIGINT, SIGTERM, SIGHUP};

// A temporary is its file's name, this marker and as many of these letters.
constexpr char kTemporaryMarker[] = ".tolan-";
constexpr size_t kTemporaryLetters = 8;
constexpr char kLetters[] = "abcdefghijklmnopqrstuvwxyz0123456789";

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
    const int fd = openOwnFile(path);
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

// The names a journal lists; nothing from anything but a regular file,
// which is opened without waiting on a writer or following a link.
QList<QByteArray> readJournal(const QByteArray& path) {
    QList<QByteArray> names;
    const int fd = ::open(path.constData(), O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0) return names;
    struct stat st {};
    if (::fstat(fd, &st) == 0 && S_ISREG(st.st_mode)) {
        QByteArray text;
        char buffer[4096];
        for (ssize_t n; text.size() < (1 << 20) && (n = ::read(fd, buffer, sizeof buffer)) != 0;) {
            if (n < 0 && errno == EINTR) continue;
            if (n < 0) break;
            text.append(buffer, n);
        }
        for (const QByteArray& name : text.split('\n'))
            if (!name.isEmpty()) names.append(name);
    }
    ::close(fd);
    return names;
}

// The journals of processes that still run, this one's included.
QList<QByteArray> liveJournals() {
    QList<QByteArray> out;
    const QByteArray folder = stateFolder();
    DIR* dir = ::opendir(folder.constData());
    if (!dir) return out;
    while (const dirent* d = ::readdir(dir)) {
        if (std::strncmp(d->d_name, "pending-", 8) != 0) continue;
        bool ok = false;
        const pid_t pid = QByteArray(d->d_name + 8).toInt(&ok);
        if (ok && pid > 0 && (::kill(pid, 0) == 0 || errno == EPERM))
            out.append(folder + '/' + d->d_name);
    }
    ::closedir(dir);
    return out;
}

// Only names this program makes are ever removed, whatever a journal says.
bool isOurTemporary(const QByteArray& name) {
    const QByteArray base = name.mid(name.lastIndexOf('/') + 1);
    return base.endsWith(".new") || base.contains(".tolan-");
}

}  // namespace

int openOwnFile(const QByteArray& path) {
    // Not waiting on a pipe's reader, not following a link; what is there
    // and not a file of ours to write is removed and made again, once.
    for (int attempt = 0; attempt < 2; ++attempt) {
        const int fd = ::open(path.constData(),
                              O_WRONLY | O_CREAT | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC, 0600);
        struct stat st {};
        if (fd >= 0 && ::fstat(fd, &st) == 0 && S_ISREG(st.st_mode) && st.st_uid == ::geteuid() &&
            ::ftruncate(fd, 0) == 0) {
            ::fcntl(fd, F_SETFL, 0);
            return fd;
        }
        if (fd >= 0) ::close(fd);
        if (::unlink(path.constData()) != 0) return -1;
    }
    return -1;
}

bool isJournaledTemporary(int folderFd, const char* name, size_t length) {
    // The name ends as the names made below do: ".tolan-" and eight letters
    // or digits. Anything else is decided without a look at a journal.
    constexpr size_t kTail = sizeof kTemporaryMarker - 1 + kTemporaryLetters;
    if (length <= kTail ||
        std::memcmp(name + length - kTail, kTemporaryMarker, kTail - kTemporaryLetters) != 0)
        return false;
    for (size_t i = length - kTemporaryLetters; i < length; ++i)
        if (!std::strchr(kLetters, name[i])) return false;
    struct stat folder {};
    if (::fstat(folderFd, &folder) != 0) return false;
    const QByteArray base(name, static_cast<qsizetype>(length));
    for (const QByteArray& journal : liveJournals()) {
        for (const QByteArray& listed : readJournal(journal)) {
            const qsizetype slash = listed.lastIndexOf('/');
            if (slash < 0 || listed.mid(slash + 1) != base) continue;
            struct stat there {};
            const QByteArray in = slash == 0 ? QByteArray("/") : listed.left(slash);
            if (::stat(in.constData(), &there) == 0 && there.st_dev == folder.st_dev &&
                there.st_ino == folder.st_ino)
                return true;
        }
    }
    return false;
}

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
    QByteArray name;
    do {
        name = hostPath + kTemporaryMarker;
        for (size_t i = 0; i < kTemporaryLetters; ++i)
            name += kLetters[random() % (sizeof kLetters - 1)];
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
        for (const QByteArray& name : readJournal(path))
            if (isOurTemporary(name) && ::unlink(name.constData()) == 0) ++removed;
        ::unlink(path.constData());
    }
    return removed;
}

}  // namespace dosfs
