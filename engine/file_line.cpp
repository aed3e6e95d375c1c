#include "engine/file_line.h"

#include "engine/renderings.h"
#include "engine/scan_table.h"

namespace engine {

void appendFullPathLine(QString& out, const Class1& c1, const FileLineLayout& layout,
                        const QString& fullPath, TextWidth measured, QStringView size) {
    appendNameField(out, c1, fullPath, measured, layout.widths);
    out += u'-';
    out += size;
}

qsizetype appendNameLine(QString& out, const Class1& c1, const FileLineLayout& layout,
                         const QString& name, QStringView size, qint64 mtime) {
    const qsizetype start = out.size();
    appendShortNameField(out, c1, name, layout.fileList, layout.widths);
    const qsizetype fieldLength = out.size() - start;
    out += u'-';
    out += size;
    appendDateText(out, mtime, true);
    out.resize(out.size() + 6, u' ');
    return fieldLength;
}

QString fileLine(const ScanTable& table, const FileLineLayout& layout, int i) {
    const Class1 c1;
    const ScanTable::File& file = table.file(i);
    const QString name = table.fileName(i);
    QString size;
    appendSizeText(size, file.size);
    QString line;
    if (layout.type == ListType::Names) {
        appendNameLine(line, c1, layout, name, size, file.mtime);
        return line;
    }
    // The folder as the scan named it to its files: the root without its
    // closing "\".
    QString folder = table.folderPath(table.folderOf(i));
    if (folder.endsWith(u'\\')) folder.chop(1);
    const TextWidth measured =
        layout.fileList ? measureText(c1, folder) + measureText(c1, name) : TextWidth{};
    appendFullPathLine(line, c1, layout, table.pathText(i), measured, size);
    return line;
}

}  // namespace engine
