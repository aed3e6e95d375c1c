#pragma once
// The scan's host when it runs without a window: fixed box texts, the drive
// table for the drive lines, and an optional progress line on a terminal.

#include "cli/row_writers.h"
#include "engine/scan_host.h"
#include "platform/forms/list_box.h"
#include "platform/treemap/tree_builder.h"

#include <cstdio>
#include <functional>

namespace cli {

class ListHost : public engine::ScanHost {
  public:
    ListHost(int width, QStringList drives, qint64 now, FILE* progress)
        : width_(width), drives_(std::move(drives)), now_(now), progress_(progress) {}

    int windowWidth() const override { return width_; }
    QStringList driveEntries() const override { return drives_; }
    qint64 now() const override { return now_; }

    void addListLine(const QString& line) override {
        if (lines_) lines_->addItem(line);
    }
    bool keepsListLines() const override { return lines_ != nullptr; }
    bool takesSideARows() const override { return rows_ != nullptr; }
    void addSideARow(const QString& path, const QString& size, const QString& date) override;
    void fileEntry(const QString& folderPath, const QByteArray& hostFolder,
                   const dosfs::DirEntry& entry) override;
    void folderEntered(const QString&) override;
    void folderUnreadable(const QString& path, const QByteArray& hostPath, int error) override;
    void letEventsRun() override {
        if (events_) events_();
    }
    void keepResponsive() override { letEventsRun(); }

    // Removes the progress line from the terminal.
    void clearProgress();
    // Names on `to` the folders the scan could not read, the first
    // kNamedUnreadable of them, and how many more there were.
    void reportUnreadable(FILE* to) const;
    static constexpr int kNamedUnreadable = 10;
    // Each row goes to `rows` as well (nullptr: to nothing).
    void setRows(RowWriter* rows) { rows_ = rows; }
    // Side B's lines are kept in `lines` (nullptr: not kept).
    void setLines(forms::ListBox* lines) { lines_ = lines; }
    // What runs a window's events while the scan goes on (none by default).
    void setEvents(std::function<void()> events) { events_ = std::move(events); }
    // Each folder and file goes to `graph` as well (nullptr: to nothing).
    void setGraph(treemap::TreeBuilder* graph) { graph_ = graph; }

  private:
    void report(bool force);

    int width_;
    QStringList drives_;
    qint64 now_;
    FILE* progress_;  // nullptr: no progress line
    long long folders_ = 0;
    long long files_ = 0;
    long long lastReport_ = 0;
    bool shown_ = false;
    RowWriter* rows_ = nullptr;
    std::function<void()> events_;
    forms::ListBox* lines_ = nullptr;
    treemap::TreeBuilder* graph_ = nullptr;
    QStringList unreadable_;  // the first folders that could not be read, with why
    long long unreadableCount_ = 0;
    // The texts of the row being made, until its file entry follows.
    const QString* path_ = nullptr;
    const QString* size_ = nullptr;
    const QString* date_ = nullptr;
};

}  // namespace cli
