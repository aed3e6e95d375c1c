#pragma once
// What tolan-list writes instead of the work file, a record for each Side A
// row as the scan makes it: the records of a listing file (the same ones the
// window writes), or one JSON object a line. Nothing is kept from row to row.

#include "engine/snapshot_format.h"
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

// The lines of a snapshot (engine/snapshot_format.h).
class JsonLines : public RowWriter {
  public:
    // `rootHost`: the host path of the folder scanned.
    JsonLines(dosfs::FileWriter& out, QByteArray rootHost) : lines_(out, std::move(rootHost)) {}
    void row(const QString&, const QString& size, const QString& date, const QString& folderPath,
             const QByteArray& hostFolder, const dosfs::DirEntry& entry) override {
        lines_.file(folderPath, hostFolder, entry, size, date);
    }
    int error() const override { return lines_.error(); }

  private:
    engine::SnapshotLines lines_;
};

// The KIND names of --listing and their columns.
struct ListingKind {
    const char* name;
    output::Columns columns;
};
inline constexpr int kListingKindCount = 5;
extern const ListingKind kListingKinds[kListingKindCount];

}  // namespace cli
