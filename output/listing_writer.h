#pragma once
// The five "ファイル出力" commands: the Side A rows of the main window
// written to TOLAN*.TXT or TOLAN*.CSV in the output directory, with the
// progress, done, no-data and failure states of Text10.

#include "output/listing_records.h"
#include "shell/form1.h"

namespace output {

// The path a command writes: outputDir, then "\" and the file name as they
// stand (a trailing backslash in outputDir gives a doubled one).
QString listingPath(const shell::Settings& settings, Columns columns);

// Whether a folder names a drive letter the drive table does not have (a
// table changed since the output directory was set).
bool onNoDrive(const dosfs::FileSystem& fs, const QString& folder);

// Runs one command on the main window. Returns the error number of the
// write (0 also when there was nothing to write).
int writeListing(shell::Form1& form, Columns columns);

}  // namespace output
