// The file lines of one folder, its Side A rows and its share of the totals.

#include "engine/module1.h"

namespace engine {

void Module1::ListFolderFiles(const QString& folderPath, const std::vector<dosfs::DirEntry>& names,
                              ScanTotals& totals, int& headerShown) {
    FolderListing folder = beginFiles(folderPath, headerShown);
    for (const dosfs::DirEntry& entry : names) listFile(folder, entry, totals);
    endFiles(folder);
}

Module1::FolderListing Module1::beginFiles(const QString& folderPath, int& headerShown) {
    folderMatchBytes_ = 0;
    folderMatchCount_ = 0;
    const bool fileList = !settings.folderMode();
    return FolderListing{folderPath,
                         // A path's width is its folder's and its name's: the
                         // folder is measured once.
                         fileList ? measureText(width_, folderPath) : TextWidth{}, fileList,
                         QString(), headerShown};
}

void Module1::listFile(FolderListing& folder, const dosfs::DirEntry& entry, ScanTotals& totals) {
    const qint64 bytes = addSideARow(folder.path, entry, totals);
    if (settings.listType == ListType::FullPaths)
        listFullPath(folder, entry, bytes);
    else
        listName(folder, entry, bytes);
}

void Module1::endFiles(FolderListing& folder) {
    if (folderMatchCount_ != 0 || !folder.rememberedName.isEmpty()) {
        const Footer footer = folderFooter(widths_, folderMatchCount_, folderMatchBytes_, true);
        const QString line = folder.rememberedName.isEmpty()
                                 ? footer.line()
                                 : footerWithName(width_, footer, folder.rememberedName, widths_);
        send(LineKind::Footer, line);
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
    // The date of Side A's row only a host that takes the rows as text reads.
    if (host_.takesSideARows()) appendDateText(date, entry.mtime, false);
    if (to(LineKind::File, kToSideA)) {
        host_.addSideARow(fullPath, size, date);
        static const QByteArray unknown;  // a caller outside ScanTree names no host folder
        host_.fileEntry(folderPath, hostFolder_ ? *hostFolder_ : unknown, entry);
    }
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
    send(LineKind::Header, folder.path);
    if (settings.folderMode()) folder.rememberedName = folder.path;
    ++folder.headerShown;
}

// Full path and size. The filter reads the full path; filtered files count
// toward the folder's footer in every mode.
void Module1::listFullPath(FolderListing& folder, const dosfs::DirEntry& entry, qint64 bytes) {
    const QString& fullPath = scratch_.path;
    const bool all = settings.extFilter.everyFile();
    if (!all) {
        if (!settings.extFilter.matchesPath(fullPath)) return;
        firstMatch(folder);
        folderMatchBytes_ += bytes;
        ++folderMatchCount_;
    }
    listing.fileListed();
    if (!writeWorkFile && !host_.keepsListLines()) return;
    QString& line = scratch_.line;
    line.truncate(0);
    appendFullPathLine(
        line, width_, lineLayout_, fullPath,
        folder.fileList ? folder.width + measureText(width_, entry.name) : TextWidth{},
        QStringView(scratch_.size).chopped(1));
    send(LineKind::File, line);
}

// Bare name, size and date. The filter reads the name field; in the
// file-list modes filtered files count toward the scan's total alone, in
// folder size mode toward the folder's footer.
void Module1::listName(FolderListing& folder, const dosfs::DirEntry& entry, qint64 bytes) {
    QString& line = scratch_.line;
    line.truncate(0);
    const qsizetype fieldLength = appendNameLine(
        line, width_, lineLayout_, entry.name, QStringView(scratch_.size).chopped(1), entry.mtime);
    const bool all = settings.extFilter.everyFile();
    if (!all) {
        if (!settings.extFilter.matchesField(QStringView(line).left(fieldLength))) return;
        firstMatch(folder);
    }
    listing.fileListed();
    send(LineKind::File, line);
    if (all) return;
    if (folder.fileList) {
        matchBytes += bytes;
        ++matchCount;
    } else {
        folderMatchBytes_ += bytes;
        ++folderMatchCount_;
    }
}

}  // namespace engine
