#include "window/side_b_rows.h"

#include "platform/codepage/cp932.h"

namespace window {

void SideBRows::addLine(const QString& line) {
    rows_.push_back(kTextRow | std::uint32_t(lines_.count()));
    lines_.append(line);
}

void SideBRows::addFileLine(const QString& line) {
    rows_.push_back(std::uint32_t(table_->fileCount() - 1));
    // A line has at most two cells a character: one no longer than half the
    // widest so far is not measured.
    if (size_t(line.size()) * 2 > widest_)
        widest_ = std::max(widest_, size_t(codepage::cp932Length(line)));
}

QString SideBRows::at(int i) const {
    const std::uint32_t row = rows_[size_t(i)];
    if (row & kTextRow) return lines_.at(int(row & ~kTextRow));
    return engine::fileLine(*table_, layout_, int(row));
}

size_t SideBRows::memoryUsed() const {
    return lines_.memoryUsed() + rows_.size() * sizeof(std::uint32_t);
}

}  // namespace window
