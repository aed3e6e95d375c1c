#include "engine/listing_order.h"

#include "platform/dosfs/host_name.h"
#include "platform/dosfs/name_order.h"

#include <QList>

namespace engine {

SortName SortName::of(const QByteArray& hostBytes) {
    SortName n;
    n.exact = dosfs::decodeHostName(hostBytes);
    n.lower = dosfs::nameKey(n.exact);
    return n;
}

int SortName::compare(const SortName& other) const {
    return dosfs::nameCompare(lower, exact, other.lower, other.exact);
}

void ListingPlace::set(const QByteArray& path) {
    const qsizetype slash = path.lastIndexOf('/');
    const QByteArrayView folder =
        slash < 0 ? QByteArrayView() : QByteArrayView(path.constData(), slash);
    if (folder != QByteArrayView(folderBytes_)) {
        folderBytes_ = folder.toByteArray();
        folder_.clear();
        if (!folderBytes_.isEmpty())
            for (const QByteArray& part : folderBytes_.split('/'))
                folder_.push_back(SortName::of(part));
    }
    nameBytes_ = path.mid(slash + 1);
    name_ = SortName::of(nameBytes_);
}

int ListingPlace::compareFolder(const ListingPlace& other) const {
    if (folderBytes_ == other.folderBytes_) return 0;
    const size_t common = std::min(folder_.size(), other.folder_.size());
    for (size_t i = 0; i < common; ++i)
        if (const int c = folder_[i].compare(other.folder_[i]); c != 0) return c;
    // A folder comes before the folders below it.
    if (folder_.size() != other.folder_.size())
        return folder_.size() < other.folder_.size() ? -1 : 1;
    return 0;
}

int ListingPlace::compare(const ListingPlace& other) const {
    if (const int c = compareFolder(other); c != 0) return c;
    return name_.compare(other.name_);
}

}  // namespace engine
