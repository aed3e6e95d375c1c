#pragma once
// The records of the listing files: which Side A columns each command
// writes, and how a row becomes one line of the TXT or CSV form.

#include <QString>

namespace output {

// The columns of one listing command, in the order they are written.
enum class Columns {
    NameSizeDate,        // FR1 TOLAN
    FolderFileSizeDate,  // FR0 TOLAN0
    NameSize,            // FR2 TOLAN1
    NameDate,            // FR3 TOLAN2
    Name,                // FR4 TOLAN3
};

// The file name without extension that a command writes ("TOLAN0").
QString fileStem(Columns columns);

// Splits a path at its last backslash, searching at most ten backslashes
// from the left: a deeper path is split at its tenth, the rest of it going
// to the file field. A text without a backslash is all file.
void splitFolder(const QString& path, QString& folder, QString& file);

// One record: the fields of the row (each trimmed of blanks) joined by ",";
// in CSV form each field is quoted and a quote inside it doubled.
QString record(Columns columns, const QString& name, const QString& size, const QString& date,
               bool csv);

}  // namespace output
