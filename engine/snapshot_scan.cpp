#include "engine/snapshot_scan.h"

#include "engine/comparison.h"
#include "engine/module1.h"
#include "engine/snapshot_format.h"

namespace engine {
namespace {

// The scan's host for a snapshot: no window and no listing lines; each file
// and each folder that could not be read goes to what the snapshot is made
// into, and the run's watch hears of them.
class SnapshotHost : public ScanHost {
  public:
    explicit SnapshotHost(const SnapshotRun& run) : run_(run) {}

    int windowWidth() const override { return kDesignWindowWidth; }
    QStringList driveEntries() const override { return run_.drives; }
    qint64 now() const override { return run_.time; }
    void addListLine(const QString&) override {}
    bool keepsListLines() const override { return false; }
    // A snapshot holds each file's column texts, the date among them.
    bool takesSideARows() const override { return true; }
    void addSideARow(const QString&, const QString& size, const QString& date) override {
        size_ = &size;
        date_ = &date;
        if (run_.watch) run_.watch->fileListed();
    }
    void fileEntry(const QString& folderPath, const QByteArray& hostFolder,
                   const dosfs::DirEntry& entry) override {
        file(folderPath, hostFolder, entry, *size_, *date_);
    }
    void folderEntered(const QString& path) override {
        if (run_.watch) run_.watch->folderEntered(path);
    }
    void folderAt(const QString& path, const QByteArray& hostPath) override {
        folder(path, hostPath);
    }
    void folderUnreadable(const QString& path, const QByteArray& hostPath, int error) override {
        unreadable(hostPath, error);
        if (run_.watch) run_.watch->folderUnreadable(path, error);
    }
    void letEventsRun() override {
        if (run_.events) run_.events();
    }
    void keepResponsive() override { letEventsRun(); }

  protected:
    // A file with the texts of its size and date columns.
    virtual void file(const QString& folderPath, const QByteArray& hostFolder,
                      const dosfs::DirEntry& entry, const QString& size, const QString& date) = 0;
    // A folder the scan enters, before its files.
    virtual void folder(const QString& path, const QByteArray& hostFolder) {
        (void)path, (void)hostFolder;
    }
    // The folder just entered could not be read (`error`).
    virtual void unreadable(const QByteArray& hostFolder, int error) = 0;

  private:
    const SnapshotRun& run_;
    // The texts of the row just made, until its file entry follows.
    const QString* size_ = nullptr;
    const QString* date_ = nullptr;
};

// The folders and files written as a snapshot's lines. A folder's line
// waits for what follows it, which tells whether it could be read.
class LinesHost : public SnapshotHost {
  public:
    LinesHost(const SnapshotRun& run, dosfs::FileWriter& out, QByteArray rootHost)
        : SnapshotHost(run), lines(out, std::move(rootHost)) {}
    SnapshotLines lines;

    // The last folder's line, when it has not gone out yet.
    void flush() {
        if (!pending_) return;
        pending_ = false;
        lines.folder(folderPath_, hostFolder_, error_);
    }

  private:
    void folder(const QString& path, const QByteArray& hostFolder) override {
        flush();
        pending_ = true;
        folderPath_ = path;
        hostFolder_ = hostFolder;
        error_ = 0;
    }
    void file(const QString& folderPath, const QByteArray& hostFolder, const dosfs::DirEntry& entry,
              const QString& size, const QString& date) override {
        flush();
        lines.file(folderPath, hostFolder, entry, size, date);
    }
    void unreadable(const QByteArray&, int error) override { error_ = error; }

    bool pending_ = false;
    QString folderPath_;
    QByteArray hostFolder_;
    int error_ = 0;
};

// The files handed to a comparison as the scan lists them.
class ComparedHost : public SnapshotHost {
  public:
    ComparedHost(const SnapshotRun& run, Comparison& comparison, QByteArray rootHost)
        : SnapshotHost(run), comparison_(comparison), rootHost_(std::move(rootHost)) {}

  private:
    void file(const QString&, const QByteArray& hostFolder, const dosfs::DirEntry& entry,
              const QString&, const QString&) override {
        if (hostFolder.constData() != hostFolder_.constData() && hostFolder != hostFolder_) {
            hostFolder_ = hostFolder;
            relative_ = relativeFolder(rootHost_, hostFolder);
        }
        file_.path = relative_ + dosfs::hostNameOf(entry);
        file_.size = entry.size;
        file_.mtime = snapshotTime(entry.mtime);  // as a snapshot of it would hold it
        comparison_.add(file_);
    }
    void unreadable(const QByteArray& hostFolder, int) override {
        comparison_.unreadable(relativeFolder(rootHost_, hostFolder));
    }

    Comparison& comparison_;
    QByteArray rootHost_, hostFolder_, relative_;
    SnapshotFile file_;
};

// Every file below `root`, at every level, to `host`.
void scanTree(SnapshotHost& host, const dosfs::FileSystem& fs, const QString& root,
              const SnapshotRun& run) {
    dosfs::NumberedFiles files(fs);
    Module1 scan(host, fs, files);
    scan.writeWorkFile = false;
    scan.deepestLevel = kEveryLevel;
    if (run.threads > 0) scan.readers = readers::ReadAhead::Readers::fixed(run.threads);
    scan.settings.scanRoot = root;
    scan.settings.exclusions = run.exclusions;
    scan.ScanTree();
    if (run.watch) run.watch->leftOut(scan.leftOut, scan.rootLeftOutBy);
}

}  // namespace

int writeSnapshot(const dosfs::FileSystem& fs, const QString& root, dosfs::FileWriter& out,
                  const SnapshotRun& run) {
    const QByteArray rootHost = fs.resolve(root).host;
    LinesHost host(run, out, rootHost);
    SnapshotHeader header;
    header.folder = root;
    header.hostFolder = rootHost;
    header.drives = run.drives;
    header.time = run.time;
    header.exclude = run.exclusions.patterns();
    host.lines.header(header);
    scanTree(host, fs, root, run);
    host.flush();
    return host.lines.error();
}

void scanInto(Comparison& comparison, const dosfs::FileSystem& fs, const QString& root,
              const SnapshotRun& run) {
    ComparedHost host(run, comparison, fs.resolve(root).host);
    scanTree(host, fs, root, run);
}

}  // namespace engine
