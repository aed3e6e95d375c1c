#include "window/side_b_rows.h"

#include "platform/codepage/cp932.h"

#include <algorithm>

namespace window {

void SideBRows::append(std::uint32_t row) {
    // The row carries on the last run when it is the one after that run's last.
    if (runs_.empty() || runs_.back().first + std::uint32_t(count_) - runs_.back().firstRow != row)
        runs_.push_back({std::uint32_t(count_), row});
    ++count_;
}

void SideBRows::addLine(const QString& line) {
    append(kTextRow | std::uint32_t(lines_.count()));
    lines_.append(line);
}

void SideBRows::addFileLine(const QString& line) {
    append(std::uint32_t(table_->fileCount() - 1));
    // A line has at most two cells a character: one no longer than half the
    // widest so far is not measured.
    if (size_t(line.size()) * 2 > widest_)
        widest_ = std::max(widest_, size_t(codepage::cp932Length(line)));
}

QString SideBRows::at(int i) const {
    const auto after =
        std::upper_bound(runs_.begin(), runs_.end(), std::uint32_t(i),
                         [](std::uint32_t r, const Run& run) { return r < run.firstRow; });
    const Run& run = after[-1];
    const std::uint32_t row = run.first + (std::uint32_t(i) - run.firstRow);
    if (row & kTextRow) return lines_.at(int(row & ~kTextRow));
    return engine::fileLine(*table_, layout_, int(row));
}

size_t SideBRows::memoryUsed() const {
    return lines_.memoryUsed() + runs_.size() * sizeof(Run);
}

}  // namespace window
