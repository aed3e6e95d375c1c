#include "engine/scan_table.h"

#include "engine/renderings.h"

#include <algorithm>

namespace engine {
namespace {

// The path a folder's children are named below: "C:\" stays as it is.
QString childPrefix(const QString& path) {
    return path.endsWith(u'\\') ? path : path + u'\\';
}

// The 512-byte blocks of a file whose length is rounded up to whole 4 KiB.
qint64 roundedUpBlocks(qint64 size) {
    return (size + 4095) / 4096 * 8;
}

}  // namespace

void ScanTable::start(const QString& root) {
    *this = ScanTable();
    root_ = root;
}

void ScanTable::enterFolder(const QString& path) {
    if (folders_.empty()) {
        folders_.push_back({0, 0, 0, true, 0, 0});
        folderNames_.append(QString());  // the root is named by root_
        open_ = {0};
        openPaths_ = {path};
        return;
    }
    // The scan enters folders in pre-order: the parent is among the open
    // folders, the nearest whose child this path names.
    while (open_.size() > 1) {
        const QString prefix = childPrefix(openPaths_.back());
        if (path.startsWith(prefix) && path.indexOf(u'\\', prefix.size()) < 0) break;
        open_.pop_back();
        openPaths_.pop_back();
    }
    const qsizetype nameAt = childPrefix(openPaths_.back()).size();
    const auto index = std::uint32_t(folders_.size());
    folders_.push_back(
        {open_.back(), std::uint32_t(files_.size()), std::uint16_t(open_.size()), true, 0, 0});
    folderNames_.append(path.mid(nameAt));
    open_.push_back(index);
    openPaths_.push_back(path);
}

void ScanTable::folderUnreadable() {
    if (!folders_.empty()) folders_.back().readable = false;
}

void ScanTable::addFile(const dosfs::DirEntry& entry) {
    if (folders_.empty()) return;
    const std::uint8_t flags = (entry.hidden ? kHidden : 0) | (entry.readOnly ? kReadOnly : 0);
    addAllocation(entry.size, entry.blocks);
    files_.push_back({entry.size, flags, entry.mtime});
    fileNames_.append(entry.name);
    Folder& f = folders_.back();
    ++f.files;
    f.bytes += sizeValue(entry.size);
}

void ScanTable::addAllocation(qint64 size, qint64 blocks) {
    Allocation a = kListed;
    if (blocks == dosfs::kNoSize || size == dosfs::kNoSize)
        a = kAsLength;
    else if (blocks == 0)
        a = kNone;
    else if (blocks == roundedUpBlocks(size))
        a = kRoundedUp;
    else
        listedBlocks_.push_back({std::uint32_t(files_.size()), blocks});
    const size_t i = files_.size();
    if (i % 4 == 0) allocation_.push_back(0);
    allocation_.back() |= std::uint8_t(a << (2 * (i % 4)));
}

qint64 ScanTable::diskBytes(int i) const {
    const qint64 size = sizeValue(file(i).size);
    switch ((allocation_[size_t(i) / 4] >> (2 * (i % 4))) & 3) {
        case kRoundedUp:
            return roundedUpBlocks(size) * 512;
        case kNone:
            return 0;
        case kAsLength:
            return size;
    }
    const auto at = std::lower_bound(
        listedBlocks_.begin(), listedBlocks_.end(), std::uint32_t(i),
        [](const auto& listed, std::uint32_t file) { return listed.first < file; });
    return at->second * 512;
}

void ScanTable::finish(bool whole) {
    whole_ = whole;
    allocation_.shrink_to_fit();
    listedBlocks_.shrink_to_fit();
    std::vector<std::uint32_t>().swap(open_);
    std::vector<QString>().swap(openPaths_);
}

QString ScanTable::folderPath(int i) const {
    if (i == 0) return root_;
    if (i == pathOf_) return path_;
    QString path = childPrefix(folderPath(int(folder(i).parent))) + folderNames_.at(i);
    pathOf_ = i;
    path_ = path;
    return path;
}

int ScanTable::endOfFiles(int i) const {
    return i + 1 < folderCount() ? int(folder(i + 1).firstFile) : fileCount();
}

int ScanTable::folderOf(int file) const {
    // The last folder whose files start at or before it: an empty folder
    // before it starts where the next one does.
    const auto after =
        std::upper_bound(folders_.begin(), folders_.end(), std::uint32_t(file),
                         [](std::uint32_t f, const Folder& d) { return f < d.firstFile; });
    return int(after - folders_.begin()) - 1;
}

QString ScanTable::pathText(int i) const {
    QString path = folderPath(folderOf(i));
    if (path.endsWith(u'\\')) path.chop(1);
    path += u'\\';
    path += fileNames_.at(i);
    trimSpacesInPlace(path);
    return path;
}

QString ScanTable::sizeText(int i) const {
    QString text;
    appendSizeText(text, file(i).size);
    text += u' ';
    return text;
}

QString ScanTable::dateText(int i) const {
    QString text;
    appendDateText(text, file(i).mtime, false);
    return text;
}

size_t ScanTable::memoryUsed() const {
    return folders_.size() * sizeof(Folder) + files_.size() * sizeof(File) +
           allocation_.capacity() + listedBlocks_.capacity() * sizeof(listedBlocks_[0]) +
           folderNames_.memoryUsed() + fileNames_.memoryUsed();
}

}  // namespace engine
