#include "platform/treemap/tree_builder.h"

#include <algorithm>
#include <deque>
#include <iterator>
#include <numeric>

namespace treemap {

void TreeBuilder::start(const QString& rootPath) {
    *this = TreeBuilder();
    rootPath_ = rootPath;
    folders_.push_back(Pending{});
    QString open = rootPath;
    if (open.endsWith(u'\\')) open.chop(1);
    open_.push_back({open, 0});
}

void TreeBuilder::folder(const QString& path) {
    if (folders_.empty()) return;
    keepLargest();
    QString own = path;
    if (own.endsWith(u'\\')) own.chop(1);
    if (own == open_.front().first) {
        open_.resize(1);
        return;
    }
    // Back up to the folder this one lies in.
    while (open_.size() > 1 &&
           !(own.startsWith(open_.back().first) && own.size() > open_.back().first.size() &&
             own[open_.back().first.size()] == u'\\'))
        open_.pop_back();
    const std::int32_t parent = open_.back().second;
    Pending p;
    p.name = own.mid(open_.back().first.size() + 1);
    p.parent = parent;
    p.depth = std::uint8_t(std::min<size_t>(open_.size(), 255));
    const auto index = std::int32_t(folders_.size());
    folders_.push_back(std::move(p));
    folders_[size_t(parent)].subfolders.push_back(index);
    open_.push_back({own, index});
}

std::int16_t TreeBuilder::extensionIndex(const QString& name, qint64 bytes) {
    // Most extensions are short and ASCII: they are lowered into a buffer of
    // the builder's and looked up without a string of their own a file.
    const QStringView extension = extensionIn(name);
    char16_t lowered[kLongestExtension];
    for (qsizetype i = 0; i < extension.size(); ++i) {
        const char16_t c = extension[i].unicode();
        if (c >= 0x80) return countExtension(extensionOf(name), bytes);
        lowered[i] = c >= u'A' && c <= u'Z' ? char16_t(c + (u'a' - u'A')) : c;
    }
    return countExtension(
        QString::fromRawData(reinterpret_cast<const QChar*>(lowered), extension.size()), bytes);
}

std::int16_t TreeBuilder::countExtension(const QString& lowered, qint64 bytes) {
    if (lowered.isEmpty()) return -1;
    auto it = extensionIds_.constFind(lowered);
    if (it == extensionIds_.constEnd()) {
        if (extensions_.size() >= 32000) return -1;
        const QString own(lowered.constData(), lowered.size());  // the buffer is reused
        it = extensionIds_.insert(own, std::int16_t(extensions_.size()));
        extensions_.append(own);
        extensionBytes_.push_back(0);
    }
    extensionBytes_[size_t(*it)] += bytes;
    return *it;
}

void TreeBuilder::file(const QString& name, qint64 bytes, qint64 disk) {
    if (folders_.empty()) return;
    const std::int32_t at = open_.back().second;
    if (at != listed_) keepLargest();
    listed_ = at;
    Pending& f = folders_[size_t(at)];
    ++f.ownFiles;
    f.ownBytes += bytes;
    f.ownDisk += disk;
    listing_.push_back(Kept{bytes, disk, name, extensionIndex(name, bytes)});
}

void TreeBuilder::keepLargest() {
    if (listed_ < 0) return;
    Pending& f = folders_[size_t(listed_)];
    listed_ = -1;
    // Files kept from an earlier run of this folder's files compete again.
    std::move(f.kept.begin(), f.kept.end(), std::back_inserter(listing_));
    const size_t keep =
        size_t(std::max<qint64>(kFilesKept, std::min<qint64>(f.ownFiles / kShare, kMostKept)));
    if (listing_.size() > keep) {
        std::nth_element(listing_.begin(), listing_.begin() + qsizetype(keep), listing_.end(),
                         [](const Kept& x, const Kept& y) { return x.bytes > y.bytes; });
        for (auto it = listing_.begin() + qsizetype(keep); it != listing_.end(); ++it) {
            f.restBytes += it->bytes;
            f.restDisk += it->disk;
            ++f.restFiles;
        }
        listing_.resize(keep);
    }
    // Just the room the kept ones take.
    f.kept.assign(std::make_move_iterator(listing_.begin()),
                  std::make_move_iterator(listing_.end()));
    listing_.clear();
}

std::shared_ptr<Tree> TreeBuilder::finish(bool partial) {
    keepLargest();
    auto tree = std::make_shared<Tree>();
    tree->rootPath = rootPath_;
    tree->partial = partial;
    if (folders_.empty()) return tree;
    // Folder sums, the deepest first: a folder comes after its parent.
    std::vector<Node> sums(folders_.size());
    for (size_t i = 0; i < folders_.size(); ++i) {
        sums[i].bytes = folders_[i].ownBytes;
        sums[i].disk = folders_[i].ownDisk;
        sums[i].files = folders_[i].ownFiles;
    }
    for (size_t i = folders_.size() - 1; i > 0; --i) {
        Node& parent = sums[size_t(folders_[i].parent)];
        parent.bytes += sums[i].bytes;
        parent.disk += sums[i].disk;
        parent.files += sums[i].files;
    }
    emitNodes(*tree, sums);
    // Extensions by their bytes, largest first.
    std::vector<int> order(size_t(extensions_.size()));
    std::iota(order.begin(), order.end(), 0);
    std::stable_sort(order.begin(), order.end(),
                     [this](int a, int b) { return extensionBytes_[a] > extensionBytes_[b]; });
    std::vector<std::int16_t> newIndex(order.size());
    for (size_t k = 0; k < order.size(); ++k) {
        newIndex[size_t(order[k])] = std::int16_t(k);
        tree->extensions.append(extensions_[order[k]]);
        tree->extensionBytes.push_back(extensionBytes_[size_t(order[k])]);
    }
    for (Node& n : tree->nodes)
        if (n.extension >= 0) n.extension = newIndex[size_t(n.extension)];
    *this = TreeBuilder();
    return tree;
}

// Breadth first, so that the children of every folder are contiguous.
void TreeBuilder::emitNodes(Tree& tree, const std::vector<Node>& sums) {
    struct Child {
        qint64 bytes;
        qint64 disk;
        qint64 files;
        Kind kind;
        std::int32_t ref;  // a folder's pending index, a file's index in kept
    };
    size_t count = 0;
    for (const Pending& p : folders_) count += 1 + p.kept.size() + (p.restFiles > 0 ? 1 : 0);
    tree.nodes.reserve(count);
    tree.names.reserve(count);
    tree.nodes.push_back(sums[0]);
    tree.names.push_back(QString());
    std::deque<std::pair<std::int32_t, std::int32_t>> queue{{0, 0}};  // pending, node
    std::vector<Child> children;
    while (!queue.empty()) {
        const auto [pi, ni] = queue.front();
        queue.pop_front();
        Pending& p = folders_[size_t(pi)];
        children.clear();
        for (std::int32_t s : p.subfolders)
            children.push_back({sums[size_t(s)].bytes, sums[size_t(s)].disk, sums[size_t(s)].files,
                                Kind::Folder, s});
        for (size_t k = 0; k < p.kept.size(); ++k)
            children.push_back({p.kept[k].bytes, p.kept[k].disk, 1, Kind::File, std::int32_t(k)});
        if (p.restFiles > 0)
            children.push_back({p.restBytes, p.restDisk, p.restFiles, Kind::Other, -1});
        std::stable_sort(children.begin(), children.end(),
                         [](const Child& a, const Child& b) { return a.bytes > b.bytes; });
        Node& parent = tree.nodes[size_t(ni)];
        parent.firstChild = std::int32_t(tree.nodes.size());
        parent.childCount = std::int32_t(children.size());
        const auto depth = std::uint8_t(std::min(int(parent.depth) + 1, 255));
        for (const Child& c : children) {
            const auto index = std::int32_t(tree.nodes.size());
            Node n{c.bytes, c.disk, c.files, ni, 0, 0, -1, depth, c.kind};
            if (c.kind == Kind::Folder) {
                tree.names.push_back(std::move(folders_[size_t(c.ref)].name));
                queue.push_back({c.ref, index});
            } else if (c.kind == Kind::File) {
                n.extension = p.kept[size_t(c.ref)].extension;
                tree.names.push_back(std::move(p.kept[size_t(c.ref)].name));
            } else {
                tree.names.push_back(QString());
            }
            tree.nodes.push_back(n);
        }
    }
}

}  // namespace treemap
