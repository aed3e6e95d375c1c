#pragma once
// What tolan-list writes instead of the work file, a record for each Side A
// row as the scan makes it: the records of a listing file (the same ones the
// window writes). Nothing is kept from row to row.

#include "output/listing_records.h"
#include "platform/dosfs/file_writer.h"
#include "platform/dosfs/text_line.h"
#include "platform/forms/list_box.h"

#include <QString>

namespace cli {

class RowWriter {
  public:
    virtual ~RowWriter() = default;
    // The row's texts as Side A holds them.
    virtual void row(const QString& path, const QString& size, const QString& date) = 0;
    // The error number of the first failed write, 0 when none failed.
    virtual int error() const = 0;
};

// The records of one listing file, each ended by CR LF.
class ListingRecords : public RowWriter {
  public:
    ListingRecords(dosfs::FileWriter& out, output::Columns columns, bool csv,
                   dosfs::Encoding encoding)
        : out_(out), columns_(columns), csv_(csv), encoding_(encoding) {}
    void row(const QString& path, const QString& size, const QString& date) override;
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
    void row(const QString& path, const QString& size, const QString& date) override {
        lines_.addItem(output::record(columns_, path, size, date, csv_));
    }
    int error() const override { return 0; }

  private:
    forms::ListBox& lines_;
    output::Columns columns_;
    bool csv_;
};

// The KIND names of --listing and their columns.
struct ListingKind {
    const char* name;
    output::Columns columns;
};
inline constexpr int kListingKindCount = 5;
extern const ListingKind kListingKinds[kListingKindCount];

}  // namespace cli
