#pragma once
// The temporary files written beside a file that is being replaced are
// noted, while they exist, in a journal of this process in the state folder
// ("pending-<pid>"), so that the next start of either program removes any a
// crash left behind. While one exists, SIGINT, SIGTERM and SIGHUP remove it
// and the journal before the process ends (with 128 + the signal), where the
// program has not taken those signals for itself.

#include <QByteArray>

#include <csignal>
#include <cstddef>

namespace dosfs {

// Holds SIGINT, SIGTERM and SIGHUP back from this thread while it lives;
// one that arrives meanwhile is handled when it ends. Threads started
// meanwhile keep them held for good, so that only the thread that makes
// and renames temporary files is ended by them.
class HeldSignals {
  public:
    HeldSignals();
    ~HeldSignals();
    HeldSignals(const HeldSignals&) = delete;
    HeldSignals& operator=(const HeldSignals&) = delete;

  private:
    sigset_t before_;
};

// A fresh name beside hostPath for its replacement, noted in the journal
// and removed by the signals above. Call with the signals held, before the
// file is created.
QByteArray notePendingBeside(const QByteArray& hostPath);
// The temporary file is gone (renamed into place or removed); call with the
// signals held, right after.
void clearPending(const QByteArray& tempPath);
// Removes what the journals of processes that no longer run list, and those
// journals. Both programs call it as they start. Returns the number of
// files removed.
int sweepPending();

// Whether `name` in the open folder is a temporary that a running Tolan
// process has journaled: a file in progress, never listed. Only a name that
// ends as a temporary's does is looked up in the journals.
bool isJournaledTemporary(int folderFd, const char* name, size_t length);

// Opens a file of the program's own (a journal) to write it from empty: a
// link there is not followed, a pipe not waited on; what is not a regular
// file of this user is removed and the file made anew. -1 on failure.
int openOwnFile(const QByteArray& path);

}  // namespace dosfs
