#pragma once
// Builds a Tree while a scan runs. The scan enters folders in pre-order and
// lists each folder's files right after entering it; once a folder's files
// are all there the builder keeps its largest ones by name (ten, or one in
// sixteen of a larger folder's, at most 1024) and adds the others into the
// folder's "other" node, so its memory grows with the folders and a share
// of the files, at most 10 a folder plus one file in 16.

#include "platform/treemap/tree.h"

#include <QHash>

#include <memory>

namespace treemap {

class TreeBuilder {
  public:
    // Files kept by name in each folder: the largest kFilesKept, or one in
    // kShare of a folder's files, at most kMostKept.
    static constexpr int kFilesKept = 10;
    static constexpr int kShare = 16;
    static constexpr int kMostKept = 1024;

    // A new tree of the folder at `rootPath` (a DOS path).
    void start(const QString& rootPath);
    // A folder the scan enters, by its DOS path; the root's own entry is
    // the root itself.
    void folder(const QString& path);
    // A file of the folder entered last; `bytes` as the totals count it,
    // `disk` the space it takes on disk (its length when not given).
    void file(const QString& name, qint64 bytes) { file(name, bytes, bytes); }
    void file(const QString& name, qint64 bytes, qint64 disk);
    // The tree so far; `partial` when the scan stopped before its end. The
    // builder is empty afterwards.
    std::shared_ptr<Tree> finish(bool partial);

  private:
    struct Kept {
        qint64 bytes;
        qint64 disk;
        QString name;
        std::int16_t extension;
    };
    struct Pending {
        QString name;
        std::int32_t parent = -1;
        std::uint8_t depth = 0;
        qint64 ownBytes = 0;
        qint64 ownDisk = 0;
        qint64 ownFiles = 0;
        qint64 restBytes = 0;
        qint64 restDisk = 0;
        qint64 restFiles = 0;
        std::vector<Kept> kept;  // its largest files, once its files end
        std::vector<std::int32_t> subfolders;
    };
    std::int16_t extensionIndex(const QString& name, qint64 bytes);
    // Adds a file's bytes to its extension, given lowered; -1 for none.
    std::int16_t countExtension(const QString& lowered, qint64 bytes);
    // The files of the folder listed last are all there: the largest stay.
    void keepLargest();
    // Moves the names into the tree: the builder is emptied afterwards.
    void emitNodes(Tree& tree, const std::vector<Node>& sums);

    QString rootPath_;
    std::vector<Pending> folders_;
    std::vector<std::pair<QString, std::int32_t>> open_;  // path and folder, root first
    std::int32_t listed_ = -1;                            // the folder whose files came last
    std::vector<Kept> listing_;                           // its files until they end
    QHash<QString, std::int16_t> extensionIds_;
    QStringList extensions_;
    std::vector<qint64> extensionBytes_;
};

}  // namespace treemap
