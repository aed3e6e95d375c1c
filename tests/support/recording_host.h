#pragma once
// A scan host for tests: fixed drives, and a record of all the
// scan emitted.

#include "engine/scan_host.h"

#include <QStringList>

#include <functional>
#include <vector>

struct SideARow {
    QString path, size, date;
};

class RecordingHost : public engine::ScanHost {
  public:
    int width = 12045;
    std::optional<QString> typeText, extText;  // none: the banner names the settings'
    QStringList drives{QStringLiteral("c: [root]")};
    std::function<void(int poll)> onPoll;          // runs at each poll point
    std::function<void(const QString&)> onFolder;  // runs as each folder is entered

    QStringList lines;
    std::vector<SideARow> sideA;
    QStringList shownPaths;
    QStringList unreadable;  // each folder that could not be read
    QString foundCount = QStringLiteral("<unset>");
    int polls = 0;
    bool finished = false;
    bool stopEnabled = false;
    bool isInteractive = false;  // the scan then waits for worker threads' reads

    int windowWidth() const override { return width; }
    std::optional<QString> outputTypeText() const override { return typeText; }
    std::optional<QString> extensionText() const override { return extText; }
    QStringList driveEntries() const override { return drives; }
    qint64 now() const override { return 1796738584; }  // 12-08-2026 14:03:04
    void addListLine(const QString& line) override { lines.append(line); }
    bool takesSideARows() const override { return true; }
    void addSideARow(const QString& p, const QString& s, const QString& d) override {
        sideA.push_back({p, s, d});
    }
    void showFolderPath(const QString& path) override { shownPaths.append(path); }
    void folderEntered(const QString& path) override {
        if (onFolder) onFolder(path);
    }
    void folderUnreadable(const QString& path, const QByteArray&, int) override {
        unreadable.append(path);
    }
    void setFoundCount(const QString& text) override { foundCount = text; }
    void scanFinished() override { finished = true; }
    void enableStop() override { stopEnabled = true; }
    bool interactive() const override { return isInteractive; }
    void letEventsRun() override {
        ++polls;
        if (onPoll) onPoll(polls);
    }
};
