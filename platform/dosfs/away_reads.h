#pragma once
// Reads of mounts that may stop answering, made in a helper process.
//
// A read on a network or FUSE mount whose server has stopped answering
// sleeps in the kernel until the server answers, and no signal ends it; a
// process with such a thread cannot end either. So the window's process
// leaves those reads to a helper it forks at start-up, before any thread
// exists, and only waits for the helper's answer, a wait that ends with the
// process. When the program ends, a helper stuck in a read is left to the
// kernel, which ends it once the mount answers or goes away.
//
// A helper that ends (killed, say) fails the reads it had not answered with
// kReaderLost, and so does every later call about a folder it held; the
// next read of such a mount is made by a new helper, which a spawner forked
// with the first one makes. No read of such a mount is made in the calling
// process once the helper was started.
//
// Without the helper (tolan-list, tests) every read is made in the calling
// process, as before.

#include "platform/dosfs/directory.h"

#include <QByteArray>
#include <QStringList>

#include <functional>

namespace dosfs {
struct Resolved;
}

namespace dosfs::away {

// Forks the helper. Call first thing in main(), while the process has one
// thread. False when it could not be started.
bool start();

// A read the calling thread waits for runs `keepWaiting` every 20 ms (the
// window lets its events run there) and gives up, with kNotAnswering, when
// it returns false (a stop was asked for). Other threads wait as long as
// the helper takes.
void whileWaiting(std::function<bool()> keepWaiting);

// Whether reads of hostPath go to the helper: it runs and the path lies on a
// mount that is neither a local disk nor a kernel file system, told by the
// mount table alone (no read of the mount itself).
bool goesAway(const QByteArray& hostPath);

// Whether a walk down from hostFolder may reach such a mount: it lies on
// one, or one is mounted below it.
bool reachesAway(const QByteArray& hostFolder);

// The reads, each as the calling process would make it; kReaderLost when
// the helper that held the folder or was to answer has ended. A folder is held open in the helper,
// by its handle, until closeFolder(): the same calls are made on it as on a descriptor held here.
struct Folder {
    quint64 handle = 0;
    dev_t device = 0;
    bool virtualFs = false;
};
int openFolder(const QByteArray& hostPath, bool noFollow, Folder& out);
int openChild(quint64 parent, const QByteArray& name, Folder& out);
int readFolder(quint64 handle, FolderContents& out);
Directory::Stamp folderStamp(quint64 handle);
void closeFolder(quint64 handle);
int realPath(const QByteArray& hostPath, QByteArray& real);
// FileSystem's walk from a drive's host folder down the names.
Resolved walk(const QByteArray& root, QChar drive, const QStringList& names, int lastMissingError);

}  // namespace dosfs::away
