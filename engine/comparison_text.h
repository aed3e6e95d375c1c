#pragma once
// A comparison as listing lines: each changed folder, its files marked "+"
// (added), "-" (removed), "*" (changed) and "?" (below a folder that could
// not be read now: not known) with their sizes and dates
// before and after in the listing's own texts, the folder's files and
// kilobytes before and after, and a last line of counts and bytes.
//
//   .\docs
//   *      1200 2024/01/05 5:07:09   ->       2400 2024/02/01 9:00:00   a.txt
//   +                                ->        800 2024/02/01 19:00:00  new.txt
//         1 Files <        1.2 KB >  ->      2 Files <        3.2 KB >
//   Added 1  Removed 0  Changed 1  Unchanged 12  Bytes 51200 -> 52800
// (and "  Unreadable N" after it when some files were not known).

#include "engine/comparison.h"

#include <functional>

namespace engine {

class ComparisonLines : public ChangeSink {
  public:
    explicit ComparisonLines(std::function<void(const QString&)> line) : line_(std::move(line)) {}
    void change(Change kind, const SnapshotFile* before, const SnapshotFile* after,
                const ListingPlace& place) override;
    void folderEnd(const ListingPlace& folder, const FolderSums& sums) override;
    void end(const ChangeCounts& counts) override;

    // A folder below the one scanned as the lines name it: ".\a\b", "." for
    // the folder itself.
    static QString folderText(const QByteArray& folder);

  private:
    std::function<void(const QString&)> line_;
    bool headerShown_ = false;
    QString text_;
};

}  // namespace engine
