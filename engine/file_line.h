#pragma once
// A file's line in the listing. The scan makes it as it lists the file, for
// Side B and the work file; a view makes it again from the scan's table when
// the line is drawn, copied, printed or read aloud. Both go through these
// functions, so the two agree to the character.

#include "engine/class1.h"
#include "engine/line_layout.h"
#include "engine/scan_settings.h"

#include <QString>
#include <QStringView>

namespace engine {

class ScanTable;

// How a scan lays out its file lines, fixed when it starts.
struct FileLineLayout {
    LayoutWidths widths;
    ListType type = ListType::FullPaths;
    bool fileList = true;  // not folder size mode: names are measured
};

// Output type 1: the full path as Side A shows it (`measured`: the widths of
// its folder and its name, {} when not measured), "-" and the size text.
void appendFullPathLine(QString& out, const Class1& c1, const FileLineLayout& layout,
                        const QString& fullPath, TextWidth measured, QStringView size);
// Output type 2: the bare name's field, "-", the size text, the date and six
// blanks; returns the length of the name field, which the filter reads.
qsizetype appendNameLine(QString& out, const Class1& c1, const FileLineLayout& layout,
                         const QString& name, QStringView size, qint64 mtime);

// The line of file i of `table` as the scan listed it.
QString fileLine(const ScanTable& table, const FileLineLayout& layout, int i);

}  // namespace engine
