#pragma once
// Where the program keeps its settings, its drive table and its state.

#include "platform/dosfs/drive_table.h"

#include <QByteArray>

namespace dosfs {

QByteArray configFolder();  // $XDG_CONFIG_HOME/tolan, default ~/.config/tolan
QByteArray stateFolder();   // $XDG_STATE_HOME/tolan, default ~/.local/state/tolan

// The `drives` file beside the settings, as read at start-up.
struct DriveFile {
    QByteArray path;
    DriveTable table;      // the file's drives when it names one; the defaults otherwise
    bool refused = false;  // there, but no regular file (a pipe, a folder): not read
    std::vector<DriveTable::BadLine> badLines;
};
DriveFile readDriveFile();

// The table of readDriveFile().
DriveTable loadDriveTable();

}  // namespace dosfs
