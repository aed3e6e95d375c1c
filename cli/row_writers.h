#pragma once
// What tolan-list writes instead of the work file, a record for each Side A
// row as the scan makes it: the records of a listing file (the same ones the
// window writes), or one JSON object a line. Nothing is kept from row to row.

#include "output/listing_records.h"
#include "platform/dosfs/directory.h"
#include "platform/dosfs/file_writer.h"
#include "platform/dosfs/text_line.h"
#include "platform/forms/list_box.h"

#include <QString>

namespace cli {

class RowWriter {
  public:
    virtual ~RowWriter() = default;
    // The row's texts as Side A holds them, and the file they come from.
    virtual void row(const QString& path, const QString& size, const QString& date,
                     const QString& folderPath, const QByteArray& hostFolder,
                     const dosfs::DirEntry& entry) = 0;
    // The error number of the first failed write, 0 when none failed.
    virtual int error() const = 0;
    // A folder the scan could not read, by its host path, in its turn
    // among the rows.
    virtual void folderUnreadable(const QByteArray& hostFolder) { (void)hostFolder; }
};

// The records of one listing file, each ended by CR LF.
class ListingRecords : public RowWriter {
  public:
    ListingRecords(dosfs::FileWriter& out, output::Columns columns, bool csv,
                   dosfs::Encoding encoding)
        : out_(out), columns_(columns), csv_(csv), encoding_(encoding) {}
    void row(const QString& path, const QString& size, const QString& date, const QString&,
             const QByteArray&, const dosfs::DirEntry&) override;
    int error() const override { return error_; }

  private:
    dosfs::FileWriter& out_;
    output::Columns columns_;
    bool csv_;
    dosfs::Encoding encoding_;
    QByteArray line_;
    int error_ = 0;
};

// The records of one listing file kept as lines, to be printed.
class RecordLines : public RowWriter {
  public:
    RecordLines(forms::ListBox& lines, output::Columns columns, bool csv)
        : lines_(lines), columns_(columns), csv_(csv) {}
    void row(const QString& path, const QString& size, const QString& date, const QString&,
             const QByteArray&, const dosfs::DirEntry&) override {
        lines_.addItem(output::record(columns_, path, size, date, csv_));
    }
    int error() const override { return 0; }

  private:
    forms::ListBox& lines_;
    output::Columns columns_;
    bool csv_;
};

// One JSON object a line (LF): the folder and the name as DOS paths and as
// host paths, the file's host path relative to the folder scanned ("path",
// "/" between its parts, the same wherever a copy of the tree lies), the
// size in bytes, the modification time in ISO 8601 with its
// offset from UTC, and the texts of the size and date columns. Host bytes
// that are not UTF-8 are written as the escapes \udc80 to \udcff, as
// Python's os.fsdecode writes them, so os.fsencode gives the bytes back.
class JsonLines : public RowWriter {
  public:
    // `rootHost`: the host path of the folder scanned.
    JsonLines(dosfs::FileWriter& out, QByteArray rootHost)
        : out_(out), rootHost_(std::move(rootHost)) {}
    void row(const QString& path, const QString& size, const QString& date,
             const QString& folderPath, const QByteArray& hostFolder,
             const dosfs::DirEntry& entry) override;
    int error() const override { return error_; }

  private:
    dosfs::FileWriter& out_;
    QByteArray rootHost_;
    QByteArray line_;
    QString folderPath_;
    QByteArray hostFolder_;
    QByteArray folderPart_;  // the object's start for that folder
    QByteArray relative_;    // that folder below the root, "/" ended; empty for the root
    int error_ = 0;
};

// The KIND names of --listing and their columns.
struct ListingKind {
    const char* name;
    output::Columns columns;
};
inline constexpr int kListingKindCount = 5;
extern const ListingKind kListingKinds[kListingKindCount];

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

}  // namespace cli
