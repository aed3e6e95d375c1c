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

// trimSpaces on the text in place.
void trimSpacesInPlace(QString& s) {
    qsizetype end = s.size();
    while (end > 0 && s.at(end - 1) == u' ') --end;
    s.truncate(end);
    qsizetype begin = 0;
    while (begin < end && s.at(begin) == u' ') ++begin;
    if (begin > 0) s.remove(0, begin);
}

}  // namespace

void Module1::ListFolderFiles(const QString& folderPath, const std::vector<dosfs::DirEntry>& names,
                              ScanTotals& totals, int& headerShown) {
    folderMatchBytes_ = 0;
    folderMatchCount_ = 0;
    QString rememberedName;
    const bool fileList = !settings.folderMode();
    const bool all = settings.extFilter == QStringLiteral("*");
    const QString upperFilter = settings.extFilter.toUpper();
    const bool type1 = settings.listType == ListType::FullPaths;

    auto firstMatch = [&] {
        if (headerShown != 0) return;
        if (fileList && !settings.plainList()) {
            emitLine(folderPath);
            WriteWorkLine(folderPath);
        }
        if (settings.folderMode()) rememberedName = folderPath;
        ++headerShown;
    };

    // Each file's texts are built in the same few strings, which keep their
    // room from file to file: a line costs no allocation of its own.
    QString& fullPath = scratch_.path;
    QString& size = scratch_.size;  // with the blank Side A shows after it
    QString& date = scratch_.date;
    QString& line = scratch_.line;
    // A path's width is its folder's and its name's: the folder is measured
    // once. The blanks trimmed off a path take no extra.
    const TextWidth folderWidth = fileList ? measureText(width_, folderPath) : TextWidth{};
    for (const dosfs::DirEntry& entry : names) {
        ++totals.allFiles;
        fullPath.truncate(0);
        fullPath += folderPath;
        fullPath += u'\\';
        fullPath += entry.name;
        trimSpacesInPlace(fullPath);
        size.truncate(0);
        appendSizeText(size, entry.size);
        size += u' ';
        const QStringView sizeField = QStringView(size).chopped(1);
        const qint64 bytes = sizeValue(entry.size);
        date.truncate(0);
        appendDateText(date, entry.mtime, false);
        host_.addSideARow(fullPath, size, date);
        totals.folderBytes += bytes;
        totals.grandBytes += bytes;
        ++totals.folderFiles;
        ++totals.grandFiles;

        line.truncate(0);
        if (type1) {
            if (!all) {
                if (!extensionMatches(fullPath, upperFilter) &&
                    !extensionMatches(right(fullPath, 5), upperFilter))
                    continue;
                firstMatch();
                folderMatchBytes_ += bytes;
                ++folderMatchCount_;
            }
            listing.fileListed();
            appendNameField(line, width_, fullPath,
                            fileList ? folderWidth + measureText(width_, entry.name) : TextWidth{},
                            widths_);
            line += u'-';
            line += sizeField;
            if (fileList) emitLine(line);
            WriteWorkLine(line);
        } else {
            appendShortNameField(line, width_, entry.name, fileList, widths_);
            const qsizetype fieldLength = line.size();
            line += u'-';
            line += sizeField;
            appendDateText(line, entry.mtime, true);
            line.resize(line.size() + 6, u' ');
            if (!all) {
                if (!fieldExtensionMatches(QStringView(line).left(fieldLength), upperFilter))
                    continue;
                firstMatch();
            }
            listing.fileListed();
            WriteWorkLine(line);
            if (fileList) emitLine(line);
            if (!all) {
                if (fileList) {
                    matchBytes += bytes;
                    ++matchCount;
                } else {
                    folderMatchBytes_ += bytes;
                    ++folderMatchCount_;
                }
            }
        }
    }

    if (folderMatchCount_ != 0 || !rememberedName.isEmpty()) {
        const Footer footer = folderFooter(widths_, folderMatchCount_, folderMatchBytes_, true);
        const QString line = rememberedName.isEmpty()
                                 ? footer.line()
                                 : footerWithName(width_, footer, rememberedName, widths_);
        if (!settings.plainList()) {
            emitLine(line);
            WriteWorkLineAlways(line);
        }
    }
    matchCount += folderMatchCount_;
    matchBytes += folderMatchBytes_;
}

}  // namespace engine
