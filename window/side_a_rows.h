#pragma once
// Side A's three columns (full path, size, date) as views over the scan's
// table: a row's text is made when it is drawn, read aloud, copied or
// written.

#include "engine/scan_table.h"
#include "platform/forms/row_source.h"

#include <memory>

namespace window {

class SideAColumn : public forms::RowSource {
  public:
    enum Field { Path, Size, Date };
    SideAColumn(std::shared_ptr<const engine::ScanTable> table, int field)
        : table_(std::move(table)), field_(Field(field)) {}

    int count() const override { return table_->fileCount(); }
    QString at(int i) const override {
        return field_ == Path   ? table_->pathText(i)
               : field_ == Size ? table_->sizeText(i)
                                : table_->dateText(i);
    }

  private:
    std::shared_ptr<const engine::ScanTable> table_;
    Field field_;
};

}  // namespace window
