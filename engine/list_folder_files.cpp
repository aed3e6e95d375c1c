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
bool fieldExtensionMatches(const QString& field, const QString& upperFilter) {
    const qsizetype dot = field.indexOf(u'.');
    if (dot < 0) return false;
    QString ext = field.mid(dot + 1, 3);
    while (ext.endsWith(u' ')) ext.chop(1);
    return ext.toUpper() == upperFilter;
}

}  // namespace

void Module1::ListFolderFiles(const QString& folderPath, const std::vector<dosfs::DirEntry>& names,
                              ScanTotals& totals, int& headerShown) {
    folderMatchBytes_ = 0;
    folderMatchCount_ = 0;
    QString rememberedName;
    const bool fileList = !settings.folderMode;
    const bool all = settings.extFilter == QStringLiteral("*");
    const QString upperFilter = settings.extFilter.toUpper();
    const bool type1 = settings.listType.trimmed().toInt() == 1;

    auto firstMatch = [&] {
        if (headerShown != 0) return;
        if (fileList && !settings.plainList) {
            emitLine(folderPath);
            WriteWorkLine(folderPath);
        }
        if (settings.folderMode) rememberedName = folderPath;
        ++headerShown;
    };

    for (const dosfs::DirEntry& entry : names) {
        ++totals.allFiles;
        const QString fullPath = trimSpaces(folderPath + u'\\' + entry.name);
        const QString size = sizeText(entry.size);
        const qint64 bytes = sizeValue(entry.size);
        const QString date = dateText(entry.mtime);
        host_.addSideARow(fullPath, size + u' ', date);
        totals.folderBytes += bytes;
        totals.grandBytes += bytes;
        ++totals.folderFiles;
        ++totals.grandFiles;
        const QString dateField = paddedDateText(date) + spaces(6);

        if (type1) {
            if (!all) {
                if (!extensionMatches(fullPath, upperFilter) &&
                    !extensionMatches(right(fullPath, 5), upperFilter))
                    continue;
                firstMatch();
                folderMatchBytes_ += bytes;
                ++folderMatchCount_;
            }
            ++listedCount;
            const QString line = nameField(width_, fullPath, fileList, widths_) + u'-' + size;
            if (fileList) emitLine(line);
            WriteWorkLine(line);
        } else {
            const QString field = shortNameField(width_, entry.name, fileList, widths_);
            const QString line = field + u'-' + size + dateField;
            if (!all) {
                if (!fieldExtensionMatches(field, upperFilter)) continue;
                firstMatch();
            }
            ++listedCount;
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
        if (!settings.plainList) {
            emitLine(line);
            WriteWorkLineAlways(line);
        }
    }
    matchCount += folderMatchCount_;
    matchBytes += folderMatchBytes_;
}

}  // namespace engine
