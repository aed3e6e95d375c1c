#pragma once
// How the program and the tolan-reads helper talk: frames on a local
// socket (a call's number and its payload), folder entries in them, and the
// socket of a new helper handed to the spawner that forks it.

#include "platform/dosfs/directory.h"

#include <QByteArray>
#include <QDataStream>

#include <vector>

namespace dosfs::away {

// False once the other side has ended.
bool writeFrame(int fd, quint64 id, const QByteArray& payload);
bool readFrame(int fd, quint64& id, QByteArray& payload);

// Passes descriptor `fd` over the socket `control`.
bool sendDescriptor(int control, int fd);
// The descriptor sent; -1 once the sender has ended.
int receiveDescriptor(int control);

QDataStream& operator<<(QDataStream& s, const DirEntry& e);
QDataStream& operator>>(QDataStream& s, DirEntry& e);
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

}  // namespace dosfs::away
