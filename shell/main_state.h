#pragma once
// The main window's state shared by its handlers for the whole run.

#include "shell/settings.h"

#include <QString>

namespace shell {

struct MainState {
    bool hintsOff = true;
    QString stopButtonMode;    // "終了" idle, "中断" while a scan runs
    QString startDrive;        // "C:", else "A:", else the first drive
    QString systemFolderName;  // "WINDOWS", else "WINNT"
    QString workFilePath;      // DOS path of DIR.TXT
    QString scanRoot;
    QString extFilter;
    QString listType;
    bool startupDone = false;
    Settings settings;
};

inline const QString kIdleCaption = QStringLiteral("終了");
inline const QString kRunningCaption = QStringLiteral("中断");
inline const QString kTypeFull = QStringLiteral("ﾃﾞｨﾚｸﾄﾘ＋ﾌｧｲﾙ");
inline const QString kTypeNames = QStringLiteral("ﾌｧｲﾙ");

}  // namespace shell
