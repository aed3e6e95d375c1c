#pragma once
// Two listings of a tree compared by merging them in listing order: the
// files added, removed and changed (size or time), folder by folder. One
// file of each side is held at a time; times are compared as instants.

#include "engine/listing_order.h"
#include "engine/snapshot.h"

#include <vector>

namespace engine {

// Unreadable: a file before below a folder the listing after could not
// read, so whether it is still there is not known.
enum class Change { Added, Removed, Changed, Unreadable };

// A folder's files and bytes in both listings.
struct FolderSums {
    qint64 filesBefore = 0, bytesBefore = 0;
    qint64 filesAfter = 0, bytesAfter = 0;
};

struct ChangeCounts {
    qint64 added = 0, removed = 0, changed = 0, unchanged = 0;
    qint64 unreadable = 0;         // files before below a folder not read after
    qint64 unreadableFolders = 0;  // folders the listing after could not read
    qint64 bytesBefore = 0, bytesAfter = 0;
    bool any() const { return added + removed + changed > 0; }
};

// Where the changes go, in listing order.
class ChangeSink {
  public:
    virtual ~ChangeSink() = default;
    // A file that changed; `before` is null for one added, `after` for one
    // removed. `place` is where it stands (its folder and name).
    virtual void change(Change kind, const SnapshotFile* before, const SnapshotFile* after,
                        const ListingPlace& place) = 0;
    // The end of a folder one of whose files changed.
    virtual void folderEnd(const ListingPlace& folder, const FolderSums& sums) = 0;
    virtual void end(const ChangeCounts& counts) = 0;
};

class Comparison {
  public:
    // Both outlive the comparison.
    Comparison(FileSource& before, ChangeSink& sink);
    // The next file of the listing after, in listing order.
    void add(const SnapshotFile& after);
    // After the last file: what is left before was removed.
    void finish();
    // The folder `prefix` (its path with "/" after it; empty for the root)
    // could not be read in the listing after: the files before below it are
    // unreadable, not removed. Given before the files after it are added.
    void unreadable(const QByteArray& prefix) {
        unreadable_.push_back(prefix);
        ++counts_.unreadableFolders;
    }
    const ChangeCounts& counts() const { return counts_; }

  private:
    void advanceBefore();
    void removeOld();
    bool belowUnreadable(const QByteArray& path) const;
    void visit(const ListingPlace& place);
    void record(Change kind, const SnapshotFile* before, const SnapshotFile* after,
                const ListingPlace& place);

    FileSource& before_;
    ChangeSink& sink_;
    SnapshotFile old_;
    ListingPlace oldPlace_;
    bool haveOld_ = false;
    ListingPlace newPlace_;
    ListingPlace folder_;  // the folder being compared
    bool inFolder_ = false;
    bool folderChanged_ = false;
    FolderSums sums_;
    ChangeCounts counts_;
    std::vector<QByteArray> unreadable_;
};

}  // namespace engine
