#pragma once
// Snapshots made by a scan of their own: every file below a folder, at
// every level, written as a snapshot's lines (engine/snapshot_format.h) or
// handed to a comparison as the scan lists them. tolan-list and the window
// make them alike, so that they write the same bytes.

#include "engine/exclusions.h"
#include "platform/dosfs/file_system.h"
#include "platform/dosfs/file_writer.h"

#include <QString>
#include <QStringList>

#include <functional>

namespace engine {

class Comparison;

// What the one who asked for a snapshot hears while its scan goes on, each
// call doing nothing by default: for a progress line and a report of the
// folders that could not be read.
class SnapshotWatch {
  public:
    virtual ~SnapshotWatch() = default;
    // A folder the scan is about to read (every folder, before its files).
    virtual void folderEntered(const QString& path) { (void)path; }
    // A file the scan lists.
    virtual void fileListed() {}
    // The folder just entered (its DOS path) could not be opened or read
    // (`error`, a dosfs error number): it is taken as one without files.
    virtual void folderUnreadable(const QString& path, int error) { (void)path, (void)error; }
    // At the end: what the exclusions left out, and the pattern that left
    // out the folder itself (then nothing was scanned), -1 for none.
    virtual void leftOut(const LeftOutCounts& counts, int rootLeftOutBy) {
        (void)counts, (void)rootLeftOutBy;
    }
};

// How a snapshot's scan runs.
struct SnapshotRun {
    // What runs between folders so that a window stays responsive; empty
    // for none.
    std::function<void()> events;
    // Threads that read folders, fixed; 0: as the device calls for.
    int threads = 0;
    // Told of the scan as it goes (nullptr: nobody); outlives the scan.
    SnapshotWatch* watch = nullptr;
    // What the snapshot's first line records of the scan: when it started
    // and the drives the window's chooser showed (or tolan-list had).
    qint64 time = 0;
    QStringList drives;
    // What the scan leaves out.
    Exclusions exclusions;
};

// The snapshot of the folder `root` (a DOS path) written to `out` (which
// the caller finishes). Returns the error number of the first failed
// write, 0 when none failed.
int writeSnapshot(const dosfs::FileSystem& fs, const QString& root, dosfs::FileWriter& out,
                  const SnapshotRun& run = {});

// Each file below `root`, at every level, handed to `comparison` as a
// snapshot of it would hold it, and each folder that could not be read
// (whose files before are then unreadable, not removed).
void scanInto(Comparison& comparison, const dosfs::FileSystem& fs, const QString& root,
              const SnapshotRun& run = {});

}  // namespace engine
