#pragma once
// The main window's state shared by its handlers for the whole run.

#include "engine/scan_settings.h"
#include "engine/scan_table.h"
#include "shell/settings.h"

#include <QString>
#include <QStringList>

#include <memory>

namespace shell {

// Whether a scan runs; the stop button's caption follows it. A stop request
// puts it back to idle while the scan unwinds to its next poll point.
enum class RunState { Idle, Running };

struct MainState {
    bool hintsOff = true;
    bool sideBHintShown = false;  // since the last visit to Side A
    RunState run = RunState::Idle;
    QString startDrive;    // "C:", else "A:", else the first drive
    QString workFilePath;  // DOS path of DIR.TXT
    // The folder to scan: the start-up drive, a drive chosen in Side A, the
    // folder box's text when the save dialog opens, each scan's root.
    QString scanRoot;
    // The folder Side A shows; and the one it showed when the running scan
    // started, shown while it runs and put back when it ends whole.
    QString browsePath;
    QString savedBrowsePath;
    QString extFilter;
    engine::ListType listType = engine::ListType::FullPaths;
    bool startupDone = false;
    Settings settings;
    // What scans leave out (除外設定), kept in a file beside the settings.
    engine::Exclusions exclusions;
    // What the last scan found (Side A's rows are views over it).
    std::shared_ptr<engine::ScanTable> found = std::make_shared<engine::ScanTable>();
    // What start-up found wrong with the files it reads (the drives file,
    // the settings), shown in the message box once the window is.
    QStringList startNotices;
};

// The stop/exit button's captions.
inline const QString kIdleCaption = QStringLiteral(QT_TRANSLATE_NOOP("Tolan", "終了"));
inline const QString kRunningCaption = QStringLiteral(QT_TRANSLATE_NOOP("Tolan", "中断"));

}  // namespace shell
