#pragma once
// The scan's host when it runs without a window: fixed box texts, the drive
// table for the drive lines, and what is said of the scan on standard error.

#include "cli/row_writers.h"
#include "cli/scan_report.h"
#include "engine/scan_host.h"
#include "platform/forms/list_box.h"
#include "platform/treemap/tree_builder.h"

#include <cstdio>

namespace cli {

class ListHost : public engine::ScanHost {
  public:
    ListHost(int width, QStringList drives, qint64 now, FILE* progress)
        : report(progress), width_(width), drives_(std::move(drives)), now_(now) {}

    int windowWidth() const override { return width_; }
    QStringList driveEntries() const override { return drives_; }
    qint64 now() const override { return now_; }

    void addListLine(const QString& line) override {
        if (lines_) lines_->addItem(line);
    }
    bool keepsListLines() const override { return lines_ != nullptr; }
    bool takesSideARows() const override { return rows_ != nullptr; }
    void addSideARow(const QString& path, const QString& size, const QString& date) override {
        report.fileListed();
        if (rows_) rows_->row(path, size, date);
    }
    void fileEntry(const QString& folderPath, const QByteArray& hostFolder,
                   const dosfs::DirEntry& entry) override;
    void folderEntered(const QString& path) override;
    void folderUnreadable(const QString& path, const QByteArray&, int error) override {
        report.folderUnreadable(path, error);
    }
    void letEventsRun() override {}

    // The progress line and the folders that could not be read.
    ScanReport report;
    // Each row goes to `rows` as well (nullptr: to nothing).
    void setRows(RowWriter* rows) { rows_ = rows; }
    // Side B's lines are kept in `lines` (nullptr: not kept).
    void setLines(forms::ListBox* lines) { lines_ = lines; }
    // Each folder and file goes to `graph` as well (nullptr: to nothing).
    void setGraph(treemap::TreeBuilder* graph) { graph_ = graph; }

  private:
    int width_;
    QStringList drives_;
    qint64 now_;
    RowWriter* rows_ = nullptr;
    forms::ListBox* lines_ = nullptr;
    treemap::TreeBuilder* graph_ = nullptr;
};

}  // namespace cli
