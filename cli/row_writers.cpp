#include "cli/row_writers.h"

namespace cli {

const ListingKind kListingKinds[kListingKindCount] = {
    {"path-size-date", output::Columns::NameSizeDate},
    {"folder-name-size-date", output::Columns::FolderFileSizeDate},
    {"path-size", output::Columns::NameSize},
    {"path-date", output::Columns::NameDate},
    {"path", output::Columns::Name},
};

void ListingRecords::row(const QString& path, const QString& size, const QString& date) {
    line_.truncate(0);
    dosfs::appendLine(line_, output::record(columns_, path, size, date, csv_), encoding_);
    if (!error_) error_ = out_.write(line_);
}

}  // namespace cli
