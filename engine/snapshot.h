#pragma once
// Snapshots: the JSON lines of a scan (tolan-list --format jsonl), one file
// a line, read back for a comparison. Only `path`, `size` and `mtime` are
// read; a line is checked whole, so a damaged snapshot is found before
// anything is compared.

#include "engine/listing_order.h"
#include "platform/dosfs/directory.h"

#include <QByteArray>
#include <QString>

#include <memory>
#include <string_view>
#include <vector>

namespace engine {

// One file of a listing: its host path below the folder scanned, its size
// and its modification time (seconds since the epoch).
struct SnapshotFile {
    QByteArray path;
    qint64 size = dosfs::kNoSize;
    qint64 mtime = dosfs::kNoTime;
};

// What the list of snapshots shows of one: the folder it was made of and
// its number of files; `folder` is empty when its first line is not one of
// a snapshot.
struct SnapshotSummary {
    QString folder;
    qint64 files = 0;
};
SnapshotSummary summarizeSnapshot(const QByteArray& hostPath);

// The files of one side of a comparison, in listing order.
class FileSource {
  public:
    virtual ~FileSource() = default;
    // False after the last file.
    virtual bool next(SnapshotFile& out) = 0;
};

class SnapshotReader : public FileSource {
  public:
    explicit SnapshotReader(QByteArray hostPath);
    ~SnapshotReader() override;

    // Reads the snapshot through once. False with a message ("line 12:
    // ...") at the first thing wrong: then nothing may be compared.
    bool check(QString& message);
    // Instead of check(): the lines are checked as next() reads them, in one
    // pass, for a comparison whose result can still be thrown away. next()
    // ends early at a line that is wrong (fault()) or out of listing order
    // (firstLineOutOfOrder(); check() then sorts the snapshot to begin again).
    bool start(QString& message);
    // The first line found out of listing order, 0 when every line is in
    // order. Such a snapshot is sorted in memory before it is compared.
    qint64 firstLineOutOfOrder() const { return outOfOrder_; }
    qint64 fileCount() const { return count_; }

    // The files in listing order, after check() or start() succeeded.
    bool next(SnapshotFile& out) override;
    // What went wrong reading it again (the file changed meanwhile); empty
    // when nothing did.
    const QString& readError() const { return readError_; }
    // After start(): what was wrong with the snapshot, as check() says it;
    // empty when next() met nothing wrong.
    const QString& fault() const { return fault_; }

  private:
    friend SnapshotSummary summarizeSnapshot(const QByteArray& hostPath);
    struct Lines;
    bool open(QString& message);
    bool nextLine(SnapshotFile& out, QString& message);
    bool sortInMemory(QString& message);
    bool nextChecked(SnapshotFile& out);
    bool placeInOrder(const SnapshotFile& file, QString& message);

    QByteArray hostPath_;
    std::unique_ptr<Lines> lines_;
    qint64 outOfOrder_ = 0;
    qint64 count_ = 0;
    bool checked_ = false;
    bool checking_ = false;  // started: lines checked as they are read
    bool holdingFirst_ = false;
    SnapshotFile first_;  // read by start(), handed out first
    ListingPlace last_, place_;
    QString readError_;
    QString fault_;
    std::vector<SnapshotFile> sorted_;  // only when out of order
    size_t sortedNext_ = 0;
};

// The folder scanned, told by a line's "folder" (a DOS path) and "path";
// empty when the line has not both.
QString scannedFolder(const char* padded, size_t length, size_t capacity);

// What is wrong with a line: nothing, its JSON, or what the JSON holds.
enum class LineFault { None, Json, Content };
// Parses one snapshot line into `out`, with what is wrong in `message`.
// `padded` must be readable for simdjson's padding beyond `length`.
LineFault parseSnapshotLine(const char* padded, size_t length, size_t capacity, SnapshotFile& out,
                            QString& message);

// "yyyy-mm-ddThh:mm:ss" with "Z" or an offset "+hh:mm" (a fraction of a
// second is allowed and dropped): the instant in seconds since the epoch.
bool parseIsoTime(std::string_view text, qint64& seconds);

}  // namespace engine
