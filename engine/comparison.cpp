#include "engine/comparison.h"

#include "engine/renderings.h"

namespace engine {

Comparison::Comparison(FileSource& before, ChangeSink& sink) : before_(before), sink_(sink) {
    advanceBefore();
}

void Comparison::advanceBefore() {
    haveOld_ = before_.next(old_);
    if (haveOld_) oldPlace_.set(old_.path);
}

// A file of either side: a new folder ends the one before.
void Comparison::visit(const ListingPlace& place) {
    if (inFolder_ && place.compareFolder(folder_) == 0) return;
    if (inFolder_ && folderChanged_) sink_.folderEnd(folder_, sums_);
    folder_ = place;
    inFolder_ = true;
    folderChanged_ = false;
    sums_ = {};
}

void Comparison::record(Change kind, const SnapshotFile* before, const SnapshotFile* after,
                        const ListingPlace& place) {
    folderChanged_ = true;
    switch (kind) {
        case Change::Added:
            ++counts_.added;
            break;
        case Change::Removed:
            ++counts_.removed;
            break;
        case Change::Changed:
            ++counts_.changed;
            break;
        case Change::Unreadable:
            ++counts_.unreadable;
            break;
    }
    sink_.change(kind, before, after, place);
}

bool Comparison::belowUnreadable(const QByteArray& path) const {
    for (const QByteArray& prefix : unreadable_)
        if (path.startsWith(prefix)) return true;
    return false;
}

// The file before at hand is not in the listing after: removed, unless the
// listing after could not read its folder.
void Comparison::removeOld() {
    visit(oldPlace_);
    ++sums_.filesBefore;
    sums_.bytesBefore += sizeValue(old_.size);
    counts_.bytesBefore += sizeValue(old_.size);
    const bool unknown = !unreadable_.empty() && belowUnreadable(old_.path);
    record(unknown ? Change::Unreadable : Change::Removed, &old_, nullptr, oldPlace_);
    advanceBefore();
}

void Comparison::add(const SnapshotFile& after) {
    newPlace_.set(after.path);
    int c = -1;
    while (haveOld_ && (c = oldPlace_.compare(newPlace_)) < 0) {
        removeOld();
    }
    visit(newPlace_);
    ++sums_.filesAfter;
    sums_.bytesAfter += sizeValue(after.size);
    counts_.bytesAfter += sizeValue(after.size);
    if (!haveOld_ || c > 0) return record(Change::Added, nullptr, &after, newPlace_);
    ++sums_.filesBefore;
    sums_.bytesBefore += sizeValue(old_.size);
    counts_.bytesBefore += sizeValue(old_.size);
    if (old_.size == after.size && old_.mtime == after.mtime)
        ++counts_.unchanged;
    else
        record(Change::Changed, &old_, &after, newPlace_);
    advanceBefore();
}

void Comparison::finish() {
    while (haveOld_) {
        removeOld();
    }
    if (inFolder_ && folderChanged_) sink_.folderEnd(folder_, sums_);
    inFolder_ = false;
    sink_.end(counts_);
}

}  // namespace engine
