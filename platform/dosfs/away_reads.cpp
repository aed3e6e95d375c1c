#include "platform/dosfs/away_reads.h"

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
#include <functional>
#include <map>
#include <memory>
#include <mutex>
#include <thread>
#include <vector>

#include <signal.h>
#include <sys/prctl.h>
#include <sys/socket.h>
#include <unistd.h>

namespace dosfs::away {
namespace {

enum class Op : quint8 { Open, OpenChild, Read, Stamp, Close, RealPath, Walk };

// A frame: its length (of what follows), the call's number, the payload.
struct Header {
    quint32 length;
    quint64 id;
};

bool readAll(int fd, void* to, size_t n) {
    auto* p = static_cast<char*>(to);
    while (n > 0) {
        const ssize_t got = ::read(fd, p, n);
        if (got < 0 && errno == EINTR) continue;
        if (got <= 0) return false;
        p += got;
        n -= size_t(got);
    }
    return true;
}

bool writeAll(int fd, const char* p, size_t n) {
    while (n > 0) {
        const ssize_t put = ::send(fd, p, n, MSG_NOSIGNAL);
        if (put < 0 && errno == EINTR) continue;
        if (put <= 0) return false;
        p += put;
        n -= size_t(put);
    }
    return true;
}

bool writeFrame(int fd, quint64 id, const QByteArray& payload) {
    const Header h{quint32(payload.size()), id};
    QByteArray frame(reinterpret_cast<const char*>(&h), sizeof h);
    frame += payload;
    return writeAll(fd, frame.constData(), size_t(frame.size()));
}

bool readFrame(int fd, quint64& id, QByteArray& payload) {
    Header h{};
    if (!readAll(fd, &h, sizeof h)) return false;
    payload.resize(qsizetype(h.length));
    id = h.id;
    return readAll(fd, payload.data(), h.length);
}

QDataStream& operator<<(QDataStream& s, const DirEntry& e) {
    return s << e.name << e.hostName << e.size << e.mtime << e.hidden << e.readOnly;
}
QDataStream& operator>>(QDataStream& s, DirEntry& e) {
    return s >> e.name >> e.hostName >> e.size >> e.mtime >> e.hidden >> e.readOnly;
}
template <class T>
QDataStream& operator<<(QDataStream& s, const std::vector<T>& v) {
    s << quint32(v.size());
    for (const T& x : v) s << x;
    return s;
}
template <class T>
QDataStream& operator>>(QDataStream& s, std::vector<T>& v) {
    quint32 n = 0;
    s >> n;
    v.clear();
    for (quint32 i = 0; i < n && s.status() == QDataStream::Ok; ++i) s >> v.emplace_back();
    return s;
}

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

// ---- The program's side.

struct Pending {
    bool done = false;
    QByteArray reply;  // empty when the helper has gone
};

struct Client {
    int fd = -1;
    std::thread::id waitingThread;
    std::function<bool()> keepWaiting;
    std::mutex mutex;  // the fields below and writes to fd
    std::condition_variable answered;
    std::map<quint64, Pending*> pending;
    quint64 next = 1;
    std::atomic<bool> gone = false;
};

Client* client = nullptr;  // set once by start(), never freed: calls may outlive main()

void dispatch(Client* c) {
    for (;;) {
        quint64 id = 0;
        QByteArray reply;
        if (!readFrame(c->fd, id, reply)) break;
        std::lock_guard<std::mutex> lock(c->mutex);
        if (auto it = c->pending.find(id); it != c->pending.end()) {
            it->second->reply = std::move(reply);
            it->second->done = true;
        }
        c->answered.notify_all();
    }
    std::lock_guard<std::mutex> lock(c->mutex);
    c->gone = true;
    for (auto& [id, p] : c->pending) p->done = true;
    c->answered.notify_all();
}

QByteArray errorReply(int error) {
    QByteArray r;
    QDataStream(&r, QIODevice::WriteOnly) << qint32(error);
    return r;
}

// The helper's reply to a request. On the thread that asked to keep
// responsive, the wait gives up (kNotAnswering) when keepWaiting says so.
QByteArray call(const QByteArray& request) {
    Pending pending;
    std::unique_lock<std::mutex> lock(client->mutex);
    if (client->gone) return errorReply(kDeviceUnavailable);
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
    return pending.reply.isEmpty() ? errorReply(kDeviceUnavailable) : pending.reply;
}

template <class... Args>
QByteArray request(Op op, const Args&... args) {
    QByteArray r;
    QDataStream s(&r, QIODevice::WriteOnly);
    s << quint8(op);
    (s << ... << args);
    return r;
}

// Mount points whose reads may stop answering, from the mount table.
std::vector<QByteArray> awayMounts() {
    std::vector<QByteArray> points;
    for (const Mount& m : readMountTable())
        if (!isLocalType(m.type) && !isVirtualType(m.type)) points.push_back(m.point);
    return points;
}

}  // namespace

bool start() {
    if (client) return true;
    int fds[2];
    if (::socketpair(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0, fds) != 0) return false;
    const pid_t pid = ::fork();
    if (pid < 0) {
        ::close(fds[0]);
        ::close(fds[1]);
        return false;
    }
    if (pid == 0) {
        ::close(fds[0]);
        serve(fds[1]);
    }
    ::close(fds[1]);
    client = new Client;
    client->fd = fds[0];
    std::thread(dispatch, client).detach();
    return true;
}

namespace {
// Whether `test` holds for a mount point of the mount table whose reads
// may stop answering (read again at most every second: mounts come and go
// rarely, and a walk asks for every folder).
template <class Test>
bool anyAwayMount(Test test) {
    static std::mutex mutex;
    static std::vector<QByteArray> points;
    static qint64 readAt = -1;
    const qint64 now = ::time(nullptr);
    std::lock_guard<std::mutex> lock(mutex);
    if (now != readAt) {
        points = awayMounts();
        readAt = now;
    }
    for (const QByteArray& point : points)
        if (test(point)) return true;
    return false;
}
}  // namespace

bool goesAway(const QByteArray& hostPath) {
    if (!client || client->gone) return false;  // read here, as without the helper
    if (faults::countsAsAway(hostPath)) return true;
    return anyAwayMount([&](const QByteArray& point) { return below(hostPath, point); });
}

bool reachesAway(const QByteArray& hostFolder) {
    if (goesAway(hostFolder)) return true;
    if (!client || client->gone) return false;
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
int opened(QDataStream&& in, Folder& out) {
    if (const int error = errorOf(in)) return error;
    quint64 device = 0;
    in >> out.handle >> device >> out.virtualFs;
    out.device = dev_t(device);
    return whole(in);
}
}  // namespace

int openFolder(const QByteArray& hostPath, bool noFollow, Folder& out) {
    return opened(QDataStream(call(request(Op::Open, hostPath, noFollow))), out);
}

int openChild(quint64 parent, const QByteArray& name, Folder& out) {
    return opened(QDataStream(call(request(Op::OpenChild, parent, name))), out);
}

int readFolder(quint64 handle, FolderContents& out) {
    QDataStream in(call(request(Op::Read, handle)));
    if (const int error = errorOf(in)) return error;
    in >> out.folders >> out.files;
    return whole(in);
}

Directory::Stamp folderStamp(quint64 handle) {
    QDataStream in(call(request(Op::Stamp, handle)));
    Directory::Stamp s;
    if (errorOf(in)) return s;
    in >> s.seconds >> s.nanoseconds >> s.removed;
    return whole(in) == kOk ? s : Directory::Stamp{};
}

void closeFolder(quint64 handle) {
    if (!client) return;
    std::lock_guard<std::mutex> lock(client->mutex);
    if (!client->gone) writeFrame(client->fd, 0, request(Op::Close, handle));
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
