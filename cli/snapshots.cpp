#include "cli/snapshots.h"

#include "cli/list_host.h"
#include "cli/row_writers.h"
#include "engine/module1.h"

namespace cli {
namespace {

// The files of a scan handed to the comparison as the scan lists them.
class ComparedRows : public RowWriter {
  public:
    ComparedRows(engine::Comparison& comparison, QByteArray rootHost)
        : comparison_(comparison), rootHost_(std::move(rootHost)) {}
    void row(const QString&, const QString&, const QString&, const QString&,
             const QByteArray& hostFolder, const dosfs::DirEntry& entry) override {
        if (hostFolder.constData() != hostFolder_.constData() && hostFolder != hostFolder_) {
            hostFolder_ = hostFolder;
            relative_ = engine::relativeFolder(rootHost_, hostFolder);
        }
        file_.path = relative_ + dosfs::hostNameOf(entry);
        file_.size = entry.size;
        file_.mtime = engine::snapshotTime(entry.mtime);  // as a snapshot of it would hold it
        comparison_.add(file_);
    }
    int error() const override { return 0; }
    void folderUnreadable(const QByteArray& hostFolder) override {
        comparison_.unreadable(engine::relativeFolder(rootHost_, hostFolder));
    }

  private:
    engine::Comparison& comparison_;
    QByteArray rootHost_, hostFolder_, relative_;
    engine::SnapshotFile file_;
};

// Every file below `root`, at every level, to `rows`.
void scanRows(RowWriter& rows, const dosfs::FileSystem& fs, const QString& root, int threads,
              FILE* progress, Events events, FILE* unreadable = nullptr) {
    ListHost host(engine::kDesignWindowWidth, {}, 0, progress);
    host.setRows(&rows);
    host.setEvents(std::move(events));
    dosfs::NumberedFiles files(fs);
    engine::Module1 scan(host, fs, files);
    scan.writeWorkFile = false;
    scan.deepestLevel = engine::kEveryLevel;
    if (threads > 0) scan.readers = readers::ReadAhead::Readers::fixed(threads);
    scan.settings.scanRoot = root;
    scan.ScanTree();
    host.clearProgress();
    if (unreadable) host.reportUnreadable(unreadable);
}

}  // namespace

int writeSnapshot(const dosfs::FileSystem& fs, const QString& root, dosfs::FileWriter& out,
                  Events events) {
    JsonLines rows(out, fs.resolve(root).host);
    scanRows(rows, fs, root, 0, nullptr, std::move(events));
    return rows.error();
}

void scanInto(engine::Comparison& comparison, const dosfs::FileSystem& fs, const QString& root,
              int threads, FILE* progress, Events events, FILE* unreadable) {
    ComparedRows rows(comparison, fs.resolve(root).host);
    scanRows(rows, fs, root, threads, progress, std::move(events), unreadable);
}

}  // namespace cli
