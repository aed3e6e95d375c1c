#include "platform/dosfs/away_reads.h"
#include "platform/dosfs/away_wire.h"

#include "platform/dosfs/errors.h"
#include "platform/dosfs/fault_seam.h"
#include "platform/dosfs/file_system.h"
#include "platform/dosfs/mount_table.h"

#include <QDataStream>
#include <QIODevice>

#include <atomic>
#include <cerrno>
#include <chrono>
#include <condition_variable>
#include <cstring>
#include <functional>
#include <map>
#include <memory>
#include <mutex>
#include <thread>
#include <vector>

#include <signal.h>
#include <sys/prctl.h>
#include <sys/socket.h>
#include <sys/wait.h>
#include <unistd.h>

namespace dosfs::away {
namespace {

enum class Op : quint8 { Open, OpenChild, Read, Stamp, Close, RealPath, Walk };

// ---- The helper: each call answered on a thread of its own, so that one
// stuck on a mount holds up no other.

// The folders the program holds open here, by number, as it would hold
// their descriptors itself: the same calls are made on them.
std::mutex handlesMutex;
std::map<quint64, std::shared_ptr<Directory>> handles;
quint64 nextHandle = 1;

std::shared_ptr<Directory> handled(quint64 handle) {
    std::lock_guard<std::mutex> lock(handlesMutex);
    const auto it = handles.find(handle);
    return it == handles.end() ? nullptr : it->second;
}

void putOpened(QDataStream& out, int error, std::shared_ptr<Directory> dir) {
    quint64 handle = 0;
    if (!error) {
        std::lock_guard<std::mutex> lock(handlesMutex);
        handle = nextHandle++;
        handles[handle] = dir;
    }
    out << qint32(error) << handle << quint64(dir->device()) << dir->isVirtual();
}

QByteArray answer(const QByteArray& request) {
    QDataStream in(request);
    QByteArray reply;
    QDataStream out(&reply, QIODevice::WriteOnly);
    quint8 op = 0;
    in >> op;
    QByteArray path;
    quint64 handle = 0;
    auto dir = std::make_shared<Directory>();
    switch (Op(op)) {
        case Op::Open: {
            bool noFollow = false;
            in >> path >> noFollow;
            putOpened(out,
                      noFollow ? Directory::openNoFollow(path, *dir) : Directory::open(path, *dir),
                      dir);
            break;
        }
        case Op::OpenChild: {
            in >> handle >> path;
            const auto parent = handled(handle);
            putOpened(out, parent ? parent->openChild(path, *dir) : kPathNotFound, dir);
            break;
        }
        case Op::Read: {
            in >> handle;
            FolderContents contents;
            const auto folder = handled(handle);
            out << qint32(folder ? folder->read(contents) : kPathNotFound) << contents.folders
                << contents.files;
            break;
        }
        case Op::Stamp: {
            in >> handle;
            const auto folder = handled(handle);
            const Directory::Stamp s = folder ? folder->stamp() : Directory::Stamp{};
            out << qint32(kOk) << s.seconds << s.nanoseconds << s.removed;
            break;
        }
        case Op::Close:
            break;  // answered where it is read
        case Op::RealPath: {
            in >> path;
            QByteArray real;
            out << qint32(hostRealPath(path, real)) << real;
            break;
        }
        case Op::Walk: {
            QChar drive;
            QStringList names;
            qint32 lastMissing = 0;
            in >> path >> drive >> names >> lastMissing;
            const Resolved r = walkFromHost(path, drive, names, lastMissing);
            out << qint32(r.error) << r.host << r.dos << r.isFolder;
            break;
        }
    }
    return reply;
}

[[noreturn]] void serve(int fd) {
    ::prctl(PR_SET_PDEATHSIG, SIGKILL);
    ::prctl(PR_SET_NAME, "tolan-reads");  // what ps and top show
    auto writeMutex = std::make_shared<std::mutex>();
    // Each frame is read into bytes of its own, handed whole to its thread.
    for (;;) {
        quint64 id = 0;
        QByteArray request;
        if (!readFrame(fd, id, request)) break;
        if (!request.isEmpty() && Op(request[0]) == Op::Close) {  // no answer
            QDataStream in(request);
            quint8 op = 0;
            quint64 handle = 0;
            in >> op >> handle;
            std::lock_guard<std::mutex> lock(handlesMutex);
            handles.erase(handle);  // closed once no call uses it
            continue;
        }
        std::thread([fd, id, request = std::move(request), writeMutex] {
            const QByteArray reply = answer(request);
            std::lock_guard<std::mutex> lock(*writeMutex);
            writeFrame(fd, id, reply);
        }).detach();
    }
    ::_exit(0);  // the program has ended
}

// ---- The spawner: forked at start-up while the process has one thread, it
// keeps that one thread and forks each helper. A helper that ended (killed,
// say) is so replaced from the window's process, which by then has many
// threads and could not safely fork one itself. It ignores SIGCHLD, so the
// kernel reaps every helper that ends.

[[noreturn]] void spawn(int control) {
    ::prctl(PR_SET_PDEATHSIG, SIGKILL);
    ::prctl(PR_SET_NAME, "tolan-spawn");
    ::signal(SIGCHLD, SIG_IGN);
    for (;;) {
        const int fd = receiveDescriptor(control);
        if (fd < 0) ::_exit(0);  // the program has ended
        if (::fork() == 0) {
            ::close(control);
            serve(fd);
        }
        ::close(fd);
    }
}

// ---- The program's side.

// A folder's handle here: the helper's own number, and in its top bits the
// helper that gave it, so that a handle of one that ended is never taken
// for one of its successor's.
constexpr int kHelperShift = 48;
quint64 helperOf(quint64 handle) {
    return handle >> kHelperShift;
}

struct Pending {
    bool done = false;
    QByteArray reply;  // empty when the helper has gone
    quint64 helper = 0;
};

struct Client {
    int control = -1;  // to the spawner
    pid_t spawner = 0;
    int fd = -1;         // to the helper
    quint64 helper = 0;  // which helper runs: each one forked has the next number
    std::thread::id waitingThread;
    std::function<bool()> keepWaiting;
    std::mutex mutex;  // the fields below and writes to fd
    std::condition_variable answered;
    std::map<quint64, Pending*> pending;
    quint64 next = 1;
    bool gone = true;
};

Client* client = nullptr;  // set once by start(), never freed: calls may outlive main()

// Reads the answers of helper number `helper` from `fd` until it ends; then
// what it had not answered fails.
void dispatch(Client* c, int fd, quint64 helper) {
    for (;;) {
        quint64 id = 0;
        QByteArray reply;
        if (!readFrame(fd, id, reply)) break;
        std::lock_guard<std::mutex> lock(c->mutex);
        if (auto it = c->pending.find(id); it != c->pending.end()) {
            it->second->reply = std::move(reply);
            it->second->done = true;
        }
        c->answered.notify_all();
    }
    std::lock_guard<std::mutex> lock(c->mutex);
    c->gone = true;
    c->fd = -1;
    ::close(fd);
    for (auto& [id, p] : c->pending)
        if (p->helper == helper) p->done = true;
    c->answered.notify_all();
}

// A new helper in place of the one that ended, under c->mutex. False when
// none can be had (the spawner has gone too): reads of the mounts then fail
// rather than run here, where they could hold the program.
bool respawn(Client* c) {
    int fds[2];
    if (::socketpair(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0, fds) != 0) return false;
    const bool sent = sendDescriptor(c->control, fds[1]);
    ::close(fds[1]);
    if (!sent) {
        ::close(fds[0]);
        if (c->spawner > 0 && ::waitpid(c->spawner, nullptr, WNOHANG) == c->spawner)
            c->spawner = 0;  // reaped
        return false;
    }
    c->fd = fds[0];
    c->gone = false;
    ++c->helper;
    std::thread(dispatch, c, fds[0], c->helper).detach();
    return true;
}

QByteArray errorReply(int error) {
    QByteArray r;
    QDataStream(&r, QIODevice::WriteOnly) << qint32(error);
    return r;
}

// The helper's reply to a request, and in `helper` the number of the helper
// that made it; given a number, only that helper may answer. A helper that
// has ended is replaced first. On the thread that asked to keep responsive,
// the wait gives up (kNotAnswering) when keepWaiting says so.
QByteArray call(const QByteArray& request, quint64& helper) {
    Pending pending;
    std::unique_lock<std::mutex> lock(client->mutex);
    if (client->gone && !respawn(client)) return errorReply(kReaderLost);
    if (helper && helper != client->helper) return errorReply(kReaderLost);
    helper = pending.helper = client->helper;
    const quint64 id = client->next++;
    client->pending[id] = &pending;
    if (!writeFrame(client->fd, id, request)) pending.done = true;
    const bool responsive =
        client->keepWaiting && std::this_thread::get_id() == client->waitingThread;
    constexpr auto kPoll = std::chrono::milliseconds(20);
    auto poll = std::chrono::steady_clock::now() + kPoll;
    while (!pending.done) {
        if (!responsive) {
            client->answered.wait(lock);
            continue;
        }
        // Other calls' answers wake this wait too: the window still gets
        // its turn every 20 ms.
        if (client->answered.wait_until(lock, poll) == std::cv_status::no_timeout) continue;
        poll = std::chrono::steady_clock::now() + kPoll;
        lock.unlock();
        const bool keep = client->keepWaiting();
        lock.lock();
        if (!keep && !pending.done) {
            client->pending.erase(id);
            return errorReply(kNotAnswering);
        }
    }
    client->pending.erase(id);
    return pending.reply.isEmpty() ? errorReply(kReaderLost) : pending.reply;
}

QByteArray call(const QByteArray& request) {
    quint64 anyHelper = 0;
    return call(request, anyHelper);
}

template <class... Args>
QByteArray request(Op op, const Args&... args) {
    QByteArray r;
    QDataStream s(&r, QIODevice::WriteOnly);
    s << quint8(op);
    (s << ... << args);
    return r;
}

// A call about the folder `handle`, to the helper that holds it.
template <class... Args>
QByteArray callOn(quint64 handle, Op op, const Args&... args) {
    quint64 helper = helperOf(handle);
    const quint64 own = handle & ((quint64(1) << kHelperShift) - 1);
    return call(request(op, own, args...), helper);
}

}  // namespace

bool start() {
    if (client) return true;
    int control[2];
    if (::socketpair(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0, control) != 0) return false;
    const pid_t pid = ::fork();
    if (pid < 0) {
        ::close(control[0]);
        ::close(control[1]);
        return false;
    }
    if (pid == 0) {
        ::close(control[0]);
        spawn(control[1]);
    }
    ::close(control[1]);
    auto* c = new Client;
    c->control = control[0];
    c->spawner = pid;
    std::unique_lock<std::mutex> lock(c->mutex);
    if (!respawn(c)) {
        lock.unlock();
        ::close(c->control);
        delete c;
        return false;
    }
    client = c;
    return true;
}

bool goesAway(const QByteArray& hostPath) {
    // Read here, as without the helper; once it ran, such reads are never
    // made here again, even while it is being replaced.
    if (!client) return false;
    if (faults::countsAsAway(hostPath)) return true;
    return anyAwayMount([&](const QByteArray& point) { return below(hostPath, point); });
}

bool reachesAway(const QByteArray& hostFolder) {
    if (goesAway(hostFolder)) return true;
    if (!client) return false;
    if (faults::awayBelow(hostFolder)) return true;
    return anyAwayMount([&](const QByteArray& point) { return below(point, hostFolder); });
}

void whileWaiting(std::function<bool()> keepWaiting) {
    if (!client) return;
    std::lock_guard<std::mutex> lock(client->mutex);
    client->waitingThread = std::this_thread::get_id();
    client->keepWaiting = std::move(keepWaiting);
}

namespace {
// The error a reply starts with; the rest is read only when it is 0.
int errorOf(QDataStream& in) {
    qint32 error = kDeviceUnavailable;
    in >> error;
    return in.status() == QDataStream::Ok ? error : kDeviceUnavailable;
}
int whole(QDataStream& in) {
    return in.status() == QDataStream::Ok ? kOk : kDeviceUnavailable;
}
}  // namespace

namespace {
int opened(const QByteArray& reply, quint64 helper, Folder& out) {
    QDataStream in(reply);
    if (const int error = errorOf(in)) return error;
    quint64 device = 0, own = 0;
    in >> own >> device >> out.virtualFs;
    out.handle = helper << kHelperShift | own;
    out.device = dev_t(device);
    return whole(in);
}
}  // namespace

int openFolder(const QByteArray& hostPath, bool noFollow, Folder& out) {
    quint64 helper = 0;
    const QByteArray reply = call(request(Op::Open, hostPath, noFollow), helper);
    return opened(reply, helper, out);
}

int openChild(quint64 parent, const QByteArray& name, Folder& out) {
    return opened(callOn(parent, Op::OpenChild, name), helperOf(parent), out);
}

int readFolder(quint64 handle, FolderContents& out) {
    QDataStream in(callOn(handle, Op::Read));
    if (const int error = errorOf(in)) return error;
    in >> out.folders >> out.files;
    return whole(in);
}

Directory::Stamp folderStamp(quint64 handle) {
    QDataStream in(callOn(handle, Op::Stamp));
    Directory::Stamp s;
    if (errorOf(in)) return s;
    in >> s.seconds >> s.nanoseconds >> s.removed;
    return whole(in) == kOk ? s : Directory::Stamp{};
}

void closeFolder(quint64 handle) {
    if (!client) return;
    std::lock_guard<std::mutex> lock(client->mutex);
    // What a helper that ended held went with it.
    if (client->gone || helperOf(handle) != client->helper) return;
    const quint64 own = handle & ((quint64(1) << kHelperShift) - 1);
    writeFrame(client->fd, 0, request(Op::Close, own));
}

int realPath(const QByteArray& hostPath, QByteArray& real) {
    QDataStream in(call(request(Op::RealPath, hostPath)));
    if (const int error = errorOf(in)) return error;
    in >> real;
    return whole(in);
}

Resolved walk(const QByteArray& root, QChar drive, const QStringList& names, int lastMissingError) {
    QDataStream in(call(request(Op::Walk, root, drive, names, qint32(lastMissingError))));
    Resolved r;
    r.error = errorOf(in);
    in >> r.host >> r.dos >> r.isFolder;
    if (!r.error) r.error = whole(in);
    return r;
}

}  // namespace dosfs::away
