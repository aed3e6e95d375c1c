#pragma once
// What a scan found, kept once: a record per folder and per file in the
// order the scan visited them, names in a shared text store. The window's
// lists, its listing files and its occupancy graph read it; nothing learns
// what a scan found from a list box. A host fills it from the scan's calls
// (folderEntered, fileEntry, folderUnreadable); tolan-list streams instead.

#include "platform/dosfs/directory.h"
#include "platform/forms/list_text.h"

#include <QString>

#include <cstdint>
#include <deque>

namespace engine {

class ScanTable {
  public:
    struct Folder {
        std::uint32_t parent;     // its index; the root's is its own, 0
        std::uint32_t firstFile;  // its files are firstFile.. the next folder's
        std::uint16_t depth;      // the root's is 0
        bool readable;
        qint64 files;  // its own files, every one, filter or not
        qint64 bytes;  // their bytes as the totals count them
    };
    enum FileFlag : std::uint8_t { kHidden = 1, kReadOnly = 2 };
    // Sixteen bytes: a scan may keep millions. A file's folder is the one
    // whose files' range holds it (folderOf).
    struct File {
        qint64 size : 62;  // dosfs::kNoSize when it could not be read
        quint64 flags : 2;
        qint64 mtime;  // dosfs::kNoTime when it could not be read
    };
    static_assert(sizeof(File) == 16);

    // A new scan of `root` (its DOS path as the scan names it); what an
    // earlier scan left is let go.
    void start(const QString& root);
    // The folder the scan enters next (every folder, the root first), by
    // its DOS path; its files follow.
    void enterFolder(const QString& path);
    // The folder entered last could not be read.
    void folderUnreadable();
    // A file of the folder entered last.
    void addFile(const dosfs::DirEntry& entry);
    // The scan ended: whole, or stopped part-way (the table then holds what
    // was listed).
    void finish(bool whole);

    QString root() const { return root_; }
    bool whole() const { return whole_; }
    int folderCount() const { return int(folders_.size()); }
    int fileCount() const { return int(files_.size()); }
    const Folder& folder(int i) const { return folders_[size_t(i)]; }
    const File& file(int i) const { return files_[size_t(i)]; }
    QString folderName(int i) const { return i == 0 ? root_ : folderNames_.at(i); }
    QString fileName(int i) const { return fileNames_.at(i); }
    // A folder's DOS path as the scan named it.
    QString folderPath(int i) const;
    // The bytes file i takes on disk (its length when that is not known).
    qint64 diskBytes(int i) const;
    // The files of folder i: [first, end).
    int endOfFiles(int i) const;
    // The folder file i is in.
    int folderOf(int file) const;

    // Side A's texts of file i: its full path, its size with the blank
    // after it, its date.
    QString pathText(int i) const;
    QString sizeText(int i) const;
    QString dateText(int i) const;

    size_t memoryUsed() const;

  private:
    QString root_;
    bool whole_ = false;
    std::deque<Folder> folders_;
    std::deque<File> files_;
    forms::ListText folderNames_;  // item 0 stands for the root
    forms::ListText fileNames_;
    // The space each file takes on disk, two bits a file: most files take
    // their length rounded up to 4 KiB, or nothing (empty or sparse); the
    // others' blocks are listed apart, by file, in the order they came.
    enum Allocation : std::uint8_t { kRoundedUp, kNone, kAsLength, kListed };
    std::vector<std::uint8_t> allocation_;  // four files a byte
    std::vector<std::pair<std::uint32_t, qint64>> listedBlocks_;
    void addAllocation(qint64 size, qint64 blocks);
    // The folders from the root down to the one entered last, and the
    // path of that one, to place the next folder entered.
    std::vector<std::uint32_t> open_;
    std::vector<QString> openPaths_;
    // The last folder path made, so that a folder's rows read in order
    // build it once.
    mutable int pathOf_ = -1;
    mutable QString path_;
};

}  // namespace engine
