#pragma once
// Replaces a host file's contents so that a crash or a full disk leaves the
// old contents whole: written beside it, flushed to disk, renamed over it.

#include <QByteArray>

namespace dosfs {

// Creates the file's folder (and its parents) when missing. Returns an
// error number of errors.h, 0 on success.
int replaceFile(const QByteArray& hostPath, const QByteArray& contents);

}  // namespace dosfs
