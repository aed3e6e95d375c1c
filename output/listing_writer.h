#pragma once
// The five "ファイル出力" commands: the Side A rows of the main window
// written to TOLAN*.TXT or TOLAN*.CSV in the output directory, with the
// progress, done, no-data and failure states of Text10.

#include "output/listing_records.h"
#include "shell/form1.h"
#include "shell/messages.h"

#include <functional>

namespace output {

// The path a command writes: outputDir, then "\" and the file name as they
// stand (a trailing backslash in outputDir gives a doubled one).
QString listingPath(const shell::Settings& settings, Columns columns);

// Whether a folder names a drive letter the drive table does not have (a
// table changed since the output directory was set).
bool onNoDrive(const dosfs::FileSystem& fs, const QString& folder);

// What a listing is written from: the scan's table, Side A's rows as they
// stand once the writing state is shown, and whether anything is listed.
struct SideARows {
    const engine::ScanTable& table;
    bool anyListed;
};

// Where a command reports: a state shown, and painted before the rows are
// written.
struct Report {
    std::function<void(shell::MessagePlace, const QString&, shell::Hide)> show;
    std::function<void()> paint;
};

// Writes one listing file through `files`. Returns the error number of the
// write (0 also when there was nothing to write).
int writeListing(const SideARows& rows, const shell::Settings& settings,
                 const dosfs::FileSystem& fs, dosfs::NumberedFiles& files, Columns columns,
                 const Report& report);

// The command on the main window: its rows, its settings, its message box.
int writeListing(shell::Form1& form, Columns columns);

}  // namespace output
