// The file lines of one folder, its Side A rows and its share of the totals.

#include "engine/module1.h"

namespace engine {
namespace {

// The three characters after the first "." of text; a text without a "."
// has no extension and matches no filter.
bool extensionMatches(const QString& text, const QString& upperFilter) {
    const qsizetype dot = text.indexOf(u'.');
    return dot >= 0 && text.mid(dot + 1, 3).toUpper() == upperFilter;
}

// The same on a short name field: the three characters after its first "."
// without the blanks that pad the field, so "py" matches "a.py".
bool fieldExtensionMatches(QStringView field, const QString& upperFilter) {
    const qsizetype dot = field.indexOf(u'.');
    if (dot < 0) return false;
    QString ext = field.mid(dot + 1, 3).toString();
    while (ext.endsWith(u' ')) ext.chop(1);
    return ext.toUpper() == upperFilter;
}

}  // namespace

void Module1::ListFolderFiles(const QString& folderPath, const std::vector<dosfs::DirEntry>& names,
                              ScanTotals& totals, int& headerShown) {
    folderMatchBytes_ = 0;
    folderMatchCount_ = 0;
    const bool fileList = !settings.folderMode();
    FolderListing folder{folderPath,
                         // A path's width is its folder's and its name's: the
                         // folder is measured once.
                         fileList ? measureText(width_, folderPath) : TextWidth{}, fileList,
                         settings.extFilter == QStringLiteral("*"), settings.extFilter.toUpper(),
                         QString(), headerShown};
    for (const dosfs::DirEntry& entry : names) {
        const qint64 bytes = addSideARow(folderPath, entry, totals);
        if (settings.listType == ListType::FullPaths)
            listFullPath(folder, entry, bytes);
        else
            listName(folder, entry, bytes);
    }

    if (folderMatchCount_ != 0 || !folder.rememberedName.isEmpty()) {
        const Footer footer = folderFooter(widths_, folderMatchCount_, folderMatchBytes_, true);
        const QString line = folder.rememberedName.isEmpty()
                                 ? footer.line()
                                 : footerWithName(width_, footer, folder.rememberedName, widths_);
        if (!settings.plainList()) {
            emitLine(line);
            WriteWorkLineAlways(line);
        }
    }
    matchCount += folderMatchCount_;
    matchBytes += folderMatchBytes_;
}

// Each file's texts are built in the same few strings, which keep their
// room from file to file: a line costs no allocation of its own.
qint64 Module1::addSideARow(const QString& folderPath, const dosfs::DirEntry& entry,
                            ScanTotals& totals) {
    QString& fullPath = scratch_.path;
    QString& size = scratch_.size;  // with the blank Side A shows after it
    QString& date = scratch_.date;
    ++totals.allFiles;
    fullPath.truncate(0);
    fullPath += folderPath;
    fullPath += u'\\';
    fullPath += entry.name;
    trimSpacesInPlace(fullPath);
    size.truncate(0);
    appendSizeText(size, entry.size);
    size += u' ';
    date.truncate(0);
    appendDateText(date, entry.mtime, false);
    host_.addSideARow(fullPath, size, date);
    static const QByteArray unknown;  // a caller outside ScanTree names no host folder
    host_.fileEntry(folderPath, hostFolder_ ? *hostFolder_ : unknown, entry);
    const qint64 bytes = sizeValue(entry.size);
    totals.folderBytes += bytes;
    totals.grandBytes += bytes;
    ++totals.folderFiles;
    ++totals.grandFiles;
    return bytes;
}

// The first file of a folder that passes the filter: the folder's header in
// the file-list modes, its name for the footer in folder size mode.
void Module1::firstMatch(FolderListing& folder) {
    if (folder.headerShown != 0) return;
    if (folder.fileList && !settings.plainList()) {
        emitLine(folder.path);
        WriteWorkLine(folder.path);
    }
    if (settings.folderMode()) folder.rememberedName = folder.path;
    ++folder.headerShown;
}

// Full path and size. The filter reads the full path; filtered files count
// toward the folder's footer in every mode.
void Module1::listFullPath(FolderListing& folder, const dosfs::DirEntry& entry, qint64 bytes) {
    const QString& fullPath = scratch_.path;
    if (!folder.all) {
        if (!extensionMatches(fullPath, folder.upperFilter) &&
            !extensionMatches(right(fullPath, 5), folder.upperFilter))
            return;
        firstMatch(folder);
        folderMatchBytes_ += bytes;
        ++folderMatchCount_;
    }
    listing.fileListed();
    if (!writeWorkFile && !host_.keepsListLines()) return;
    QString& line = scratch_.line;
    line.truncate(0);
    appendNameField(line, width_, fullPath,
                    folder.fileList ? folder.width + measureText(width_, entry.name) : TextWidth{},
                    widths_);
    line += u'-';
    line += QStringView(scratch_.size).chopped(1);
    if (folder.fileList) emitLine(line);
    WriteWorkLine(line);
}

// Bare name, size and date. The filter reads the name field; in the
// file-list modes filtered files count toward the scan's total alone, in
// folder size mode toward the folder's footer.
void Module1::listName(FolderListing& folder, const dosfs::DirEntry& entry, qint64 bytes) {
    QString& line = scratch_.line;
    line.truncate(0);
    appendShortNameField(line, width_, entry.name, folder.fileList, widths_);
    const qsizetype fieldLength = line.size();
    line += u'-';
    line += QStringView(scratch_.size).chopped(1);
    appendDateText(line, entry.mtime, true);
    line.resize(line.size() + 6, u' ');
    if (!folder.all) {
        if (!fieldExtensionMatches(QStringView(line).left(fieldLength), folder.upperFilter)) return;
        firstMatch(folder);
    }
    listing.fileListed();
    WriteWorkLine(line);
    if (folder.fileList) emitLine(line);
    if (folder.all) return;
    if (folder.fileList) {
        matchBytes += bytes;
        ++matchCount;
    } else {
        folderMatchBytes_ += bytes;
        ++folderMatchCount_;
    }
}

}  // namespace engine
