#pragma once
// Why a file could not be written at a host path, told by what is there,
// since an error number alone cannot say which folder is missing or that a
// folder stands where the file should go.

#include <QByteArray>
#include <QString>

namespace cli {

// A folder in the file's place, a folder to write in that is missing, not a
// folder or closed to this user, a read-only file or file system; empty when
// nothing there explains a failure.
QString writeObstacle(const QByteArray& hostPath);

}  // namespace cli
