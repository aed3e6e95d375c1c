#pragma once
// Snapshots: the JSON lines of a scan (tolan-list --format jsonl): a first
// line that says what was scanned, then a line for each folder followed by
// a line for each of its files, read back for a comparison or a listing.
// A comparison reads only the files' `path`, `size` and `mtime`; each line
// is checked whole as it is read, so a damaged snapshot is found before
// what was made of it is kept. They are written by
// engine/snapshot_format.h. Snapshots written before they had a first line
// and folder lines hold only the files' lines and are read alike.

#include "engine/listing_order.h"
#include "platform/dosfs/directory.h"

#include <QByteArray>
#include <QList>
#include <QString>
#include <QStringList>

#include <memory>
#include <string_view>
#include <vector>

namespace engine {

class LineInput;

// One file of a listing: its host path below the folder scanned, its size
// and its modification time (seconds since the epoch).
struct SnapshotFile {
    QByteArray path;
    qint64 size = dosfs::kNoSize;
    qint64 mtime = dosfs::kNoTime;
};

// The format of the snapshots written now: 2 has the first line and folder
// lines; the files' lines of 1 had neither.
constexpr int kSnapshotFormat = 2;
// How a folder's line starts, and the first line's: they are told from the
// files' lines by their first bytes.
inline const QByteArray kFolderLineStart = QByteArrayLiteral("{\"type\":\"folder\"");
inline const QByteArray kHeaderLineStart = QByteArrayLiteral("{\"type\":\"snapshot\"");

// What a snapshot's first line says of its scan.
struct SnapshotHeader {
    int format = 0;  // 0: a snapshot without this line (written before it had one)
    QString version;
    QString folder;                // the folder scanned, a DOS path
    QByteArray hostFolder;         // and its host path
    QStringList drives;            // the drive chooser's entries at the time, in its order
    qint64 time = dosfs::kNoTime;  // when the scan started
    // The exclusion patterns the scan left out by, host bytes; none for a
    // first line that names none.
    QList<QByteArray> exclude;
};

// What the list of snapshots shows of one: the folder it was made of, its
// number of files and, when its first line says, when it was made;
// `folder` is empty when its first line is not one of a snapshot.
struct SnapshotSummary {
    QString folder;
    qint64 files = 0;
    qint64 time = dosfs::kNoTime;
};
SnapshotSummary summarizeSnapshot(const QByteArray& hostPath);

// The files of one side of a comparison, in listing order.
class FileSource {
  public:
    virtual ~FileSource() = default;
    // False after the last file.
    virtual bool next(SnapshotFile& out) = 0;
};

// A snapshot read once, from the descriptor it opened, each line checked
// as next() hands its file to a comparison: whatever was compared before a
// fault showed must be thrown away (the caller holds its output until the
// snapshot is read whole). Memory stays bounded: a line is at most
// kLongestLine bytes, and only a snapshot out of listing order is held,
// sorted, in at most kSortLimit bytes (a million files take about 1.3 GB).
class SnapshotReader : public FileSource {
  public:
    static constexpr qsizetype kLongestLine = 1 << 20;
    static constexpr qint64 kSortLimit = qint64(4) << 30;

    explicit SnapshotReader(QByteArray hostPath);
    ~SnapshotReader() override;

    // Opens the snapshot and reads its first line, so that a file that is
    // no snapshot is told before a scan is made to compare it with. False
    // with a message ("line 1: ...").
    bool start(QString& message);
    // The files in listing order, each line checked as it is read. Ends
    // after the last line, or early at a line that is wrong (fault()) or
    // out of listing order (firstLineOutOfOrder()).
    bool next(SnapshotFile& out) override;
    // What was wrong with the snapshot ("line 12: ..."); empty when nothing
    // was found wrong.
    const QString& fault() const { return fault_; }
    // What the snapshot's first line says; format 0 when it has none.
    const SnapshotHeader& header() const { return header_; }
    // The first line found out of listing order, 0 when none was.
    qint64 firstLineOutOfOrder() const { return outOfOrder_; }
    // Whether next() has handed out every file of a snapshot found right.
    bool whole() const { return whole_; }

    // To compare it again: reads the snapshot again from the start of the
    // descriptor it opened, checking every line again; `sorted` holds it in
    // memory sorted (for one out of listing order). A pipe cannot be read
    // again. False with a message.
    bool again(bool sorted, QString& message);

  private:
    friend SnapshotSummary summarizeSnapshot(const QByteArray& hostPath);
    bool open(QString& message);
    bool readHeader(QString& message);
    bool nextLine(SnapshotFile& out, QString& message);
    bool placeInOrder(const SnapshotFile& file, QString& message);
    bool readSorted(QString& message);

    QByteArray hostPath_;
    std::unique_ptr<LineInput> lines_;
    SnapshotHeader header_;
    qint64 outOfOrder_ = 0;
    qint64 count_ = 0;
    bool reading_ = false;  // next() reads lines
    bool whole_ = false;
    bool holdingFirst_ = false;
    SnapshotFile first_;  // read by start(), handed out first
    ListingPlace last_, place_;
    QString fault_;
    std::vector<SnapshotFile> sorted_;  // only when out of order
    size_t sortedNext_ = 0;
};

// After a comparison that did not read every snapshot whole: readies each
// to be compared again (one out of listing order sorted) and returns -1, or
// returns the index of the one that cannot be, with what is wrong in
// `message`.
int readAgain(const std::vector<SnapshotReader*>& snapshots, QString& message);

// The folder scanned, told by a line's "folder" (a DOS path) and "path";
// empty when the line has not both.
QString scannedFolder(const char* padded, size_t length, size_t capacity);

// What is wrong with a line: nothing, its JSON, or what the JSON holds.
enum class LineFault { None, Json, Content };
enum class SnapshotLineKind { File, Folder, Header };
// Parses one snapshot line into `out`, with what is wrong in `message`;
// `kind` (when given) says what the line is: `out` is filled for a file's.
// `padded` must be readable for simdjson's padding beyond `length`.
LineFault parseSnapshotLine(const char* padded, size_t length, size_t capacity, SnapshotFile& out,
                            QString& message, SnapshotLineKind* kind = nullptr);

// A line read whole, for a listing made from the snapshot.
struct SnapshotEntry {
    SnapshotLineKind kind = SnapshotLineKind::File;
    SnapshotFile file;      // a file's path, size and time; a folder's path ("" for the top)
    QString folder;         // the file's folder, or the folder, as a DOS path
    QByteArray hostFolder;  // and as a host path
    QString name;           // a file's DOS name
    QByteArray hostName;    // and its bytes on disk
    qint64 blocks = dosfs::kNoSize;  // 512-byte blocks on disk, when the line says
    bool readOnly = false;
    int error = 0;  // a folder that could not be read: a dosfs error number
};
// Parses any line into `entry`, or, for the first line, into `header`.
LineFault parseSnapshotEntry(const char* padded, size_t length, size_t capacity,
                             SnapshotEntry& entry, SnapshotHeader& header, QString& message);

// "yyyy-mm-ddThh:mm:ss" with "Z" or an offset "+hh:mm" (a fraction of a
// second is allowed and dropped): the instant in seconds since the epoch.
bool parseIsoTime(std::string_view text, qint64& seconds);

}  // namespace engine
