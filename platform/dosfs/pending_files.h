#pragma once
// The temporary files written beside a file that is being replaced are
// noted, while they exist, in a journal of this process in the state folder
// ("pending-<pid>"), so that the next start removes any a crash left behind.

#include <QByteArray>

namespace dosfs {

// A fresh name beside hostPath for its replacement, noted in the journal.
QByteArray notePendingBeside(const QByteArray& hostPath);
// The same for a fixed name (the settings record's "settings.new").
void notePending(const QByteArray& tempPath);
// The temporary file is gone (renamed into place or removed).
void clearPending(const QByteArray& tempPath);
// At start-up: removes what the journals of processes that no longer run
// list, and those journals. Returns the number of files removed.
int sweepPending();

}  // namespace dosfs
