#pragma once
// The listing engine: reads and sorts folders, lists their files, and walks
// the tree below the scan root producing the listing of one of three modes.

#include "engine/class1.h"
#include "engine/file_line.h"
#include "engine/line_layout.h"
#include "engine/line_routes.h"
#include "engine/listing_state.h"
#include "engine/scan_host.h"
#include "engine/scan_settings.h"
#include "platform/dosfs/directory.h"
#include "platform/dosfs/file_system.h"
#include "platform/dosfs/numbered_files.h"
#include "platform/readers/read_ahead.h"

#include <QString>

#include <vector>

namespace engine {

class SnapshotTree;
struct SnapshotFolder;

// The work file the scan writes.
using dosfs::kWorkFile;

// Depth of the deepest folders a listing shows; their subfolders are read
// and counted but not visited.
constexpr int kDeepestLevel = 8;
// As deep as a snapshot goes: every level a path can reach.
constexpr int kEveryLevel = 4096;

// Running totals of one scan, exact whole numbers.
struct ScanTotals {
    qint64 allFiles = 0;
    qint64 folderBytes = 0;
    qint64 folderFiles = 0;
    qint64 grandBytes = 0;
    qint64 grandFiles = 0;
};

// One subfolder as the level tables hold it.
struct FolderEntry {
    QString path;         // parent path without trailing "\", "\", name
    QByteArray hostName;  // to open it below its parent
};

class Module1 {
  public:
    // The host, the file system and the open files outlive the scan.
    Module1(ScanHost& host, const dosfs::FileSystem& fs, dosfs::NumberedFiles& files)
        : host_(host), fs_(fs), files_(files) {}

    ScanSettings settings;
    // Threads that read folders during a scan (see readers::ReadAhead); the
    // listing is the same whatever their number.
    readers::ReadAhead::Readers readers = readers::ReadAhead::Readers::adapt();
    // Off when the host keeps only the rows: nothing goes to the work file.
    bool writeWorkFile = true;
    // The deepest level visited below the root.
    int deepestLevel = kDeepestLevel;

    // The listed files of the last scan; shared with the save-as dialog.
    ListingState listing;
    // Results left after a scan.
    qint64 matchCount = 0;
    qint64 matchBytes = 0;
    int workFileError = 0;         // first failure writing or closing the work file
    qint64 scanTime = 0;           // the banner's moment, seconds since the epoch
    qint64 foldersLeftOut = 0;     // folders below the deepest level, not visited
    qint64 unreadableFolders = 0;  // folders that could not be opened or read
    // What the exclusions left out of the folders the scan took.
    LeftOutCounts leftOut;
    // The pattern that left out the folder listed itself (nothing was
    // listed), -1 when none did.
    int rootLeftOutBy = -1;
    // How the last scan ended.
    enum class End {
        Whole,        // every folder was visited
        Stopped,      // a stop was asked for
        ReadsLost,    // the reader of a network or FUSE mount ended: the rest could not be read
        RootLeftOut,  // a pattern leaves out the folder listed: nothing was listed
        Damaged,      // a snapshot listed was found wrong part-way
    };
    End ended = End::Whole;

    void ScanTree();
    // The listing a scan of the snapshot's folder made when the snapshot
    // was taken: its folders and files in place of the file system's, the
    // host giving the snapshot's time and drives. A snapshot found wrong
    // part-way ends the listing there (`ended` is End::Damaged; the tree's
    // fault says why).
    void ListSnapshot(SnapshotTree& tree);

    static void SortNames(std::vector<dosfs::DirEntry>& table);

    // The subfolders of a folder already read and sorted, as full paths in
    // the same order.
    static std::vector<FolderEntry> ListSubfolders(const QString& folderPath,
                                                   std::vector<dosfs::DirEntry>& folders);

    void ListFolderFiles(const QString& folderPath, const std::vector<dosfs::DirEntry>& names,
                         ScanTotals& totals, int& headerShown);

  private:
    // The folder ListFolderFiles is listing.
    struct FolderListing {
        const QString& path;
        TextWidth width;         // of the path, for the full-path name field
        bool fileList;           // not folder size mode
        QString rememberedName;  // the folder a footer of folder size mode names
        int& headerShown;
    };
    // Side A's row of a file and its share of the totals; returns its bytes.
    qint64 addSideARow(const QString& folderPath, const dosfs::DirEntry& entry, ScanTotals& totals);
    FolderListing beginFiles(const QString& folderPath, int& headerShown);
    void listFile(FolderListing& folder, const dosfs::DirEntry& entry, ScanTotals& totals);
    void endFiles(FolderListing& folder);
    void firstMatch(FolderListing& folder);
    void listFullPath(FolderListing& folder, const dosfs::DirEntry& entry, qint64 bytes);
    void listName(FolderListing& folder, const dosfs::DirEntry& entry, qint64 bytes);

    enum class Flow { Go, Abort };
    void startScan();
    Flow listHeading();
    // A folder of a snapshot: as visitLevel lists one that it read.
    Flow listSnapshotFolder(SnapshotTree& tree, const SnapshotFolder& folder);
    Flow listRoot(dosfs::Directory& root, std::vector<FolderEntry>& level1);
    void listTotal();
    Flow visitLevel(int depth, const std::vector<FolderEntry>& table,
                    const readers::ReadAhead::Folder& parent);
    Flow abort(End why = End::Stopped);
    // After a folder's read failed with `error`: the scan ends when the
    // reader is gone or the failure came from a stop; otherwise the folder
    // is named to the host.
    Flow readFailed(const QString& path, const QByteArray& hostPath, int error);
    void folderStart(const QString& header, const QString& path, const QByteArray& hostPath);
    void folderEnd();
    // A line to where its kind goes in this scan's mode; `only` narrows that
    // (the blank line after the drives reaches Side B before a poll point and
    // the work file after it).
    void send(LineKind kind, const QString& line, Destinations only = kEverywhere);
    bool to(LineKind kind, Destination where) const {
        return destinations(kind, settings.mode) & where;
    }
    void writeWorkLine(const QString& line);
    // The folder below the root (its host path there) with what the
    // exclusions leave out taken from `contents`.
    static void leaveOut(const Exclusions& exclusions, const QByteArray& rootHost,
                         const QByteArray& hostPath, dosfs::FolderContents& contents);

    ScanHost& host_;
    const dosfs::FileSystem& fs_;
    dosfs::NumberedFiles& files_;

    Class1 width_;
    LayoutWidths widths_;
    FileLineLayout lineLayout_;
    ScanTotals totals_;
    QString folderName_;  // the folder a footer of folder size mode names
    int headerShown_ = 0;
    qint64 folderMatchBytes_ = 0;
    qint64 folderMatchCount_ = 0;
    readers::ReadAhead* readAhead_ = nullptr;  // while ScanTree runs
    const QByteArray* hostFolder_ = nullptr;   // of the folder being listed
    QByteArray rootHost_;                      // of the folder listed
    struct {
        QString path, size, date, line;
    } scratch_;  // the texts of the file being listed
};

}  // namespace engine
