#pragma once
// Where a file stands in the listing's order, told from its path below the
// folder scanned: folders in pre-order, a folder's files before its
// subfolders, names in the order Module1::SortNames gives them. Two
// listings in this order are compared by merging them.

#include <QByteArray>
#include <QString>

#include <vector>

namespace engine {

// One name as the listing sorts it (dosfs/name_order.h).
struct SortName {
    QString lower;  // compared first
    QString exact;  // then, for names equal after lower-casing

    static SortName of(const QByteArray& hostBytes);
    int compare(const SortName& other) const;
};

// The place of a file: its folder's names from the top, then its own.
class ListingPlace {
  public:
    // `path`: host bytes, "/" between the parts. The folder's names are
    // made again only when the folder differs from the last one given.
    void set(const QByteArray& path);

    const QByteArray& folder() const { return folderBytes_; }
    const QByteArray& name() const { return nameBytes_; }
    // Negative, 0 or positive as this place comes before, at or after
    // `other`'s.
    int compare(const ListingPlace& other) const;
    // The same for the folders alone.
    int compareFolder(const ListingPlace& other) const;

  private:
    QByteArray folderBytes_;  // empty for the folder scanned
    QByteArray nameBytes_;
    std::vector<SortName> folder_;
    SortName name_;
};

}  // namespace engine
