#pragma once
// What tolan-list says of a scan on standard error: a progress line on a
// terminal while it goes on, and afterwards the folders it could not read.

#include "engine/snapshot_scan.h"

#include <QString>
#include <QStringList>

#include <cstdio>

namespace cli {

class ScanReport : public engine::SnapshotWatch {
  public:
    // `progress`: a terminal for the progress line, or nullptr for none.
    explicit ScanReport(FILE* progress) : progress_(progress) {}

    void folderEntered(const QString& path) override;
    void fileListed() override;
    void folderUnreadable(const QString& path, int error) override;
    void leftOut(const engine::LeftOutCounts& counts, int) override { leftOutCounts = counts; }

    // What the exclusions left out, once the scan has ended.
    engine::LeftOutCounts leftOutCounts;

    // Removes the progress line from the terminal.
    void clearProgress();
    // Names on `to` the folders the scan could not read, the first
    // kNamedUnreadable of them, and how many more there were.
    void reportUnreadable(FILE* to) const;
    static constexpr int kNamedUnreadable = 10;

  private:
    void report(bool force);

    FILE* progress_;  // nullptr: no progress line
    long long folders_ = 0;
    long long files_ = 0;
    long long lastReport_ = 0;
    bool shown_ = false;
    QStringList unreadable_;  // the first folders that could not be read, with why
    long long unreadableCount_ = 0;
};

}  // namespace cli
