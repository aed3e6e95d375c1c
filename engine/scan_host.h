#pragma once
// What the tree scan emits and what it asks of the window that runs it. The
// main window is one host, tolan-list another, tests a third. All calls come
// from the scan, on the thread that called Module1::ScanTree, in the order
// the listing is built; the host owns nothing the scan hands it. A host
// implements what it uses: every call but the few each host must answer
// does nothing by default.

#include "engine/file_line.h"
#include "platform/dosfs/directory.h"

#include <QString>
#include <QStringList>

#include <optional>

namespace engine {

// What the scan emits: Side B's lines, Side A's rows, the records of what
// it found.
class ScanOutput {
  public:
    virtual ~ScanOutput() = default;

    // Side B: one listing line appended at the end.
    virtual void addListLine(const QString& line) = 0;
    // How this scan lays out its file lines, told before the first.
    virtual void fileLinesLaidOut(const FileLineLayout& layout) { (void)layout; }
    // Side B: the line of the file just entered (fileEntry). A host that
    // keeps the scan's table may make it again from the file's record.
    virtual void addFileLine(const QString& line) { addListLine(line); }
    // Whether the host keeps Side B's lines; when it does not and no work
    // file is written, a file's line is not made at all.
    virtual bool keepsListLines() const { return true; }
    // Side A: one row per file visited (full path, size text, date text),
    // given to a host that takes them; one that keeps the scan's table makes
    // its rows from the records (fileEntry) instead.
    virtual bool takesSideARows() const { return false; }
    virtual void addSideARow(const QString& path, const QString& size, const QString& date) {
        (void)path, (void)size, (void)date;
    }
    // The file a Side A row was just made from, with its folder's DOS path
    // and host path, for hosts that keep more than the row's texts.
    virtual void fileEntry(const QString& folderPath, const QByteArray& hostFolder,
                           const dosfs::DirEntry& entry) {
        (void)folderPath, (void)hostFolder, (void)entry;
    }
    // A folder the scan is about to read (every folder, before its files).
    virtual void folderEntered(const QString& path) { (void)path; }
    // The folder just entered by its host path too, for hosts that record
    // every folder (a snapshot); before folderUnreadable and its files.
    virtual void folderAt(const QString& path, const QByteArray& hostPath) {
        (void)path, (void)hostPath;
    }
    // The folder just entered (its DOS path and host path) could not be
    // opened or read (`error`, a dosfs error number): it is listed as one
    // without files or subfolders.
    virtual void folderUnreadable(const QString& path, const QByteArray& hostPath, int error) {
        (void)path, (void)hostPath, (void)error;
    }
};

// What the scan reads from the window that runs it and asks of it: the
// boxes the banner names, the counters, the commands, the pointer, events.
class ScanWindow {
  public:
    virtual ~ScanWindow() = default;

    // Read once at the start of a scan.
    virtual int windowWidth() const = 0;  // twips
    // The output type and the filter as the banner names them: a window gives
    // its boxes' texts as they stand; by default the banner names the scan
    // settings' own.
    virtual std::optional<QString> outputTypeText() const { return std::nullopt; }
    virtual std::optional<QString> extensionText() const { return std::nullopt; }
    virtual QStringList driveEntries() const = 0;  // the drive chooser, in its order
    virtual qint64 now() const = 0;                // seconds since the epoch, for the banner

    // The path shown while depth-1 and depth-2 folders are visited.
    virtual void showFolderPath(const QString& path) { (void)path; }
    // The number of files found, shown when a scan ends.
    virtual void setFoundCount(const QString& text) { (void)text; }
    // The second counter, reset at the start and end of a scan.
    virtual void setSecondCounter(const QString& text) { (void)text; }
    virtual void setBusyPointer(bool busy) { (void)busy; }
    virtual void showWindow() {}
    // Normal end: the host's scan and save commands are usable again and the
    // folder shown when the scan started is put back.
    virtual void scanFinished() {}
    // Every end, normal or stopped: a stop can be asked for again.
    virtual void enableStop() {}

    // Poll point: run queued events (a stop request among them).
    virtual void letEventsRun() = 0;
    // Between poll points: at every folder boundary and, for an interactive
    // host, while the scan waits for a folder read. A window lets events run
    // when a while has passed since they last ran, so that it repaints and a
    // stop is seen.
    virtual void keepResponsive() {}
    // Whether the scan's thread must never block in a device for long: then
    // it reads folders itself only on local disks while reads are quick, and
    // otherwise waits for the workers in slices.
    virtual bool interactive() const { return false; }
};

// A scan's host: both at once.
class ScanHost : public ScanOutput, public ScanWindow {};

}  // namespace engine
