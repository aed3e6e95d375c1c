#pragma once
// Side B's lines during and after a scan: its file lines are views over the
// scan's table, made again from a file's record when drawn, read aloud,
// copied or printed; its other lines (banner, drives, headers, footers,
// the total) are kept as text.

#include "engine/file_line.h"
#include "engine/scan_table.h"
#include "platform/forms/list_text.h"
#include "platform/forms/row_source.h"

#include <cstdint>
#include <deque>
#include <memory>

namespace window {

class SideBRows : public forms::RowSource {
  public:
    explicit SideBRows(std::shared_ptr<const engine::ScanTable> table) : table_(std::move(table)) {}

    void setLayout(const engine::FileLineLayout& layout) { layout_ = layout; }
    void addLine(const QString& line);
    // The line of the file the table took last, as the scan made it.
    void addFileLine(const QString& line);

    int count() const override { return count_; }
    QString at(int i) const override;
    size_t widest() const override { return std::max(widest_, lines_.widest()); }
    size_t memoryUsed() const override;

  private:
    // The rows come in runs: kept lines one after the other, or the lines
    // of files that follow each other in the table (a folder's files). A
    // run is where it starts among the rows and what its first row is: a
    // file's number, or with kTextRow a kept line's.
    struct Run {
        std::uint32_t firstRow;
        std::uint32_t first;
    };
    static constexpr std::uint32_t kTextRow = 0x80000000u;
    void append(std::uint32_t row);

    std::shared_ptr<const engine::ScanTable> table_;
    engine::FileLineLayout layout_;
    forms::ListText lines_;
    std::deque<Run> runs_;
    int count_ = 0;
    size_t widest_ = 0;  // of the file lines
};

}  // namespace window
