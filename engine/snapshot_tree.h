#pragma once
// A snapshot read as the tree it was taken of, for a listing made from it:
// its folders in the order a scan walks them, each followed by its files,
// so that the scan's own listing code makes the same lines from it
// (Module1::ListSnapshot). Read once, a line at a time: memory stays at the
// longest line and the folders above the one being read. Every line is
// checked as it is read; a snapshot written before snapshots had folder
// lines gives its folders from its files' paths (empty folders are then
// unknown).

#include "engine/listing_order.h"
#include "engine/snapshot.h"
#include "platform/dosfs/directory.h"

#include <memory>
#include <vector>

namespace engine {

class LineInput;

// A folder of the snapshot, in its turn.
struct SnapshotFolder {
    QString path;         // as a DOS path
    QByteArray hostPath;  // as a host path
    QByteArray relative;  // below the folder scanned; "" for that folder
    int depth = 0;        // 0 for the folder scanned
    int error = 0;        // a dosfs error number for a folder that could not be read
};

class SnapshotTree {
  public:
    explicit SnapshotTree(QByteArray hostPath);
    ~SnapshotTree();

    // Opens the snapshot and reads its first line. False with a message
    // ("line 1: ...").
    bool start(QString& message);
    // What the first line says; format 0 for an older snapshot, whose
    // folder is told by its first file, its time by the file's (kNoTime
    // for a pipe), and its drives not at all.
    const SnapshotHeader& header() const { return header_; }
    bool older() const { return header_.format == 0; }

    // The next folder; the files of the last one not taken are passed over
    // (still checked). False after the last folder or at a fault.
    bool nextFolder(SnapshotFolder& out);
    // The next file of the folder last given; false after its last.
    bool nextFile(dosfs::DirEntry& out);

    // What was wrong ("line 12: ..."); empty when nothing was.
    const QString& fault() const { return fault_; }
    // Every line read and found right.
    bool whole() const { return ended_ && fault_.isEmpty(); }
    // From the start again, for a second reading after a first that only
    // checked; false for a pipe.
    bool again(QString& message);
    // Reads every line, checking it, and readies the snapshot to be read
    // again from the start: a listing made from it then goes out whole or
    // not at all. False with what was wrong (or that a pipe cannot be read
    // again).
    bool checkWhole(QString& message);

  private:
    bool readFirst(QString& message);
    bool readLine();  // into entry_; false at the end or a fault
    bool refuse(const QString& why);
    bool takeFolderLine(SnapshotFolder& out);
    bool olderFolder(SnapshotFolder& out);
    void enter(SnapshotFolder& out, const QByteArray& relative, const QString& dos,
               const QByteArray& host, int error);

    QByteArray hostPath_;
    std::unique_ptr<LineInput> lines_;
    SnapshotHeader header_;
    SnapshotEntry entry_;  // the line read ahead
    bool held_ = false;    // entry_ not taken yet
    bool ended_ = false;
    QString fault_;
    // The folders from the top down to the one being read.
    struct Open {
        QByteArray relative;
        QString dos;
        QByteArray host;
    };
    std::vector<Open> open_;
    ListingPlace lastFolder_, place_, lastFile_;
    bool anyFolder_ = false, anyFile_ = false;
    bool checked_ = false;  // read whole and found right before: the order is not checked again
};

}  // namespace engine
