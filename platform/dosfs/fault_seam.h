#pragma once
// Lets tests make host folders and files fail as if permission were denied.
// Permission bits do not stop root, so tests cannot rely on chmod alone.

#include <QByteArray>

namespace dosfs::faults {

// Opening the folder (to read it or to create a file in it) fails with EACCES.
void denyFolder(const QByteArray& hostPath);
// Writing to a file created in that folder fails with ENOSPC after `bytes`.
void fillDiskAfter(const QByteArray& hostFolder, long long bytes);

// The operations of the file layer a test can make fail.
enum class Op { Open, Read, Write, Rename, Fsync, Close, Delete, Stat, ReadFolder };
// Calls of `op` on host paths that start with `underHost` fail with the
// errno value `err`, after `skip` calls that succeed. With err 0 the calls
// only are counted.
void failOperation(Op op, int err, const QByteArray& underHost, int skip = 0);
// The calls the rules for `op` under `underHost` have met so far.
int calls(Op op, const QByteArray& underHost);
// The errno value a call of `op` on hostPath is to fail with; 0 to run it.
int injected(Op op, const QByteArray& hostPath);
// The same as a failed system call: true with errno set when it is to fail.
bool fails(Op op, const QByteArray& hostPath);

// Calls of `op` on host paths that start with `underHost` do not return
// until clearAll(), as on a mount whose server stopped answering.
void hangOperation(Op op, const QByteArray& underHost);

// Reading a folder under `underHost` takes `milliseconds` longer, as on a
// slow disk or a server that is slow to answer; the first rule that matches
// holds.
void delayFolderReads(const QByteArray& underHost, int milliseconds);
// How much longer reading the folder hostPath takes.
int folderReadDelay(const QByteArray& hostPath);
// Reads of folders under `underHost` are measured as having waited on the
// device for `share` of their time (0 to 1), whatever the clock saw: how
// the readers grow and fall is then the same on a busy machine as on a
// quiet one.
void measureFolderReads(const QByteArray& underHost, double share);
// The share a read of hostPath is to be measured with; below 0 for none.
double measuredWaitShare(const QByteArray& hostPath);

// Host paths under `underHost` count as lying on a mount that may stop
// answering: the helper process reads them when it runs.
void countAsAway(const QByteArray& underHost);
bool countsAsAway(const QByteArray& hostPath);
// Whether such a place lies below hostFolder.
bool awayBelow(const QByteArray& hostFolder);

// Reading the folder hostPath (exactly) ends the process that reads it at
// once, as the helper that reads a mount ends when it is killed mid-read.
void endReaderOf(const QByteArray& hostPath);

void clearAll();

bool folderDenied(const QByteArray& hostPath);
long long diskRoomIn(const QByteArray& hostFolder);  // -1: no limit

}  // namespace dosfs::faults
