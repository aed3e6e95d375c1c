#pragma once
// Where a run writes, -o FILE or standard output: opening it, and telling
// why it could not be written. An error number alone cannot say which
// folder is missing or that a folder stands where the file should go, so
// what stands at the path is looked at.

#include "cli/options.h"
#include "platform/dosfs/file_writer.h"

#include <QByteArray>
#include <QString>

namespace cli {

// -o FILE as a host path, or "standard output".
QString outputTarget(const Options& options);

// The output to a file, or standard output; an error number of the file layer.
int openOutput(const Options& options, dosfs::FileWriter& out);

// "cannot write TARGET: CAUSE", for an output (see outputTarget) that could
// not be opened or written with error number `error`.
QString cannotWrite(const QString& target, int error);

// "tolan-list: MESSAGE" on standard error, for trouble and for notes alike;
// returns `status`, the exit status it calls for.
int fail(int status, const QString& message);

// A folder in the file's place, a folder to write in that is missing, not a
// folder or closed to this user, a read-only file or file system; empty when
// nothing there explains a failure.
QString writeObstacle(const QByteArray& hostPath);

}  // namespace cli
