#pragma once
// tolan-list --compare: a snapshot compared with a folder scanned now or
// with a second snapshot, written as text lines or JSON lines.

#include "cli/options.h"
#include "platform/dosfs/file_system.h"

namespace cli {

// Whether FOLDER names a snapshot (a file, a pipe) rather than a folder.
bool namesSnapshot(const QByteArray& given);

// The comparison run whole; the exit status (0 nothing changed, 1 something
// did, 2 trouble). `root`: the folder to scan as a DOS path, empty when the
// other side is the snapshot in options.folder.
int runComparison(const Options& options, const dosfs::FileSystem& fs, const QString& root);

}  // namespace cli
