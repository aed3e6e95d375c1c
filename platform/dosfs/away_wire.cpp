#include "platform/dosfs/away_wire.h"

#include <cerrno>
#include <cstring>

#include <sys/socket.h>
#include <unistd.h>

namespace dosfs::away {
namespace {

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

// One byte with room for one descriptor beside it, as both ends need it.
struct DescriptorMessage {
    char byte = 0;
    iovec io{&byte, 1};
    alignas(cmsghdr) char space[CMSG_SPACE(sizeof(int))] = {};
    msghdr msg{};
    DescriptorMessage() {
        msg.msg_iov = &io;
        msg.msg_iovlen = 1;
        msg.msg_control = space;
        msg.msg_controllen = sizeof space;
    }
    DescriptorMessage(const DescriptorMessage&) = delete;
    DescriptorMessage& operator=(const DescriptorMessage&) = delete;
};

}  // namespace

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

bool sendDescriptor(int control, int fd) {
    DescriptorMessage m;
    cmsghdr* c = CMSG_FIRSTHDR(&m.msg);
    c->cmsg_level = SOL_SOCKET;
    c->cmsg_type = SCM_RIGHTS;
    c->cmsg_len = CMSG_LEN(sizeof(int));
    std::memcpy(CMSG_DATA(c), &fd, sizeof(int));
    for (;;) {
        const ssize_t sent = ::sendmsg(control, &m.msg, MSG_NOSIGNAL);
        if (sent == 1) return true;
        if (sent < 0 && errno == EINTR) continue;
        return false;
    }
}

int receiveDescriptor(int control) {
    DescriptorMessage m;
    for (;;) {
        const ssize_t got = ::recvmsg(control, &m.msg, MSG_CMSG_CLOEXEC);
        if (got < 0 && errno == EINTR) continue;
        if (got <= 0) return -1;
        const cmsghdr* c = CMSG_FIRSTHDR(&m.msg);
        if (!c || c->cmsg_type != SCM_RIGHTS) continue;
        int fd = -1;
        std::memcpy(&fd, CMSG_DATA(c), sizeof(int));
        return fd;
    }
}

QDataStream& operator<<(QDataStream& s, const DirEntry& e) {
    return s << e.name << e.hostName << e.size << e.blocks << e.mtime << e.hidden << e.readOnly;
}
QDataStream& operator>>(QDataStream& s, DirEntry& e) {
    return s >> e.name >> e.hostName >> e.size >> e.blocks >> e.mtime >> e.hidden >> e.readOnly;
}

}  // namespace dosfs::away
