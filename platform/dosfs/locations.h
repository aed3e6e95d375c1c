#pragma once
// Where the program keeps its settings, its drive table and its state.

#include "platform/dosfs/drive_table.h"

#include <QByteArray>

namespace dosfs {

QByteArray configFolder();  // $XDG_CONFIG_HOME/tolan, default ~/.config/tolan
QByteArray stateFolder();   // $XDG_STATE_HOME/tolan, default ~/.local/state/tolan

// The `drives` file beside the settings when it exists and names a drive;
// the defaults otherwise.
DriveTable loadDriveTable();

}  // namespace dosfs
