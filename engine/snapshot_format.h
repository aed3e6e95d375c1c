#pragma once
// Writing snapshots (read back in engine/snapshot.h): one JSON object a line
// (LF). The first says what was scanned (engine::SnapshotHeader); then each
// folder in the scan's order has a line ("type":"folder", its DOS and host
// paths, its path below the folder scanned, and "error" for one that could
// not be read) followed by a line for each of its files: the folder and the
// name as DOS paths and as host paths, the file's host path relative to the folder scanned ("path",
// "/" between its parts, the same wherever a copy of the tree lies), the size in bytes, the
// modification time in ISO 8601 with its offset from UTC, and the texts of the size and date
// columns. Host bytes that are not UTF-8 are written as the escapes \udc80 to \udcff, as Python's
// os.fsdecode writes them, so os.fsencode gives the bytes back.

#include "engine/snapshot.h"
#include "platform/dosfs/directory.h"
#include "platform/dosfs/file_writer.h"

#include <QByteArray>
#include <QString>
#include <QStringView>

namespace engine {

// The lines of one snapshot, written as the scan lists its files.
class SnapshotLines {
  public:
    // `rootHost`: the host path of the folder scanned.
    SnapshotLines(dosfs::FileWriter& out, QByteArray rootHost)
        : out_(out), rootHost_(std::move(rootHost)) {}
    // The first line.
    void header(const SnapshotHeader& header);
    // A folder's line, before its files'; `error` for one that could not be
    // read, 0 otherwise.
    void folder(const QString& folderPath, const QByteArray& hostFolder, int error);
    // One file's line: its folder as a DOS path and as a host path, the
    // entry, and the texts of its size and date columns.
    void file(const QString& folderPath, const QByteArray& hostFolder, const dosfs::DirEntry& entry,
              const QString& sizeText, const QString& dateText);
    // The error number of the first failed write, 0 when none failed.
    int error() const { return error_; }

  private:
    void write();

    dosfs::FileWriter& out_;
    QByteArray rootHost_;
    QByteArray line_;
    QString folderPath_;
    QByteArray hostFolder_;
    QByteArray folderPart_;  // the object's start for that folder
    QByteArray relative_;    // that folder below the root, "/" ended; empty for the root
    int error_ = 0;
};

// The part of `hostFolder` below `rootHost`, ended by "/"; empty for the
// root itself (and for a folder outside it).
QByteArray relativeFolder(const QByteArray& rootHost, const QByteArray& hostFolder);

// A time as "yyyy-mm-ddThh:mm:ss+hh:mm" in local time, quoted; null for
// dosfs::kNoTime.
void appendJsonTime(QByteArray& out, qint64 seconds);
// A time as a snapshot holds it: dosfs::kNoTime for one written as null.
qint64 snapshotTime(qint64 seconds);

// A JSON string of a text, and of host bytes by the rule above.
void appendJsonString(QByteArray& out, QStringView text);
void appendJsonHostString(QByteArray& out, const QByteArray& bytes);

}  // namespace engine
