#include "engine/comparison_text.h"

#include "engine/renderings.h"
#include "platform/dosfs/host_name.h"

#include <QList>

namespace engine {
namespace {

constexpr qsizetype kSideWidth = 29;  // a size of 9 digits, a blank, "yyyy/mm/dd hh:mm:ss"

// A file's size and date, or blanks where the file is not; a longer size
// makes the line longer.
void appendSide(QString& out, const SnapshotFile* file) {
    const qsizetype start = out.size();
    if (file) {
        appendSizeText(out, file->size);
        out += u' ';
        appendDateText(out, file->mtime, false);
    }
    if (out.size() < start + kSideWidth) out.resize(start + kSideWidth, u' ');
}

QString sumsText(qint64 files, qint64 bytes) {
    return countText(files, 5) + QStringLiteral(" Files < ") +
           kbText(bytes, kFolderDigits).rightJustified(10) + QStringLiteral(" KB >");
}

}  // namespace

QString ComparisonLines::folderText(const QByteArray& folder) {
    if (folder.isEmpty()) return QStringLiteral(".");
    QString text = QStringLiteral(".");
    for (const QByteArray& part : folder.split('/')) text += u'\\' + dosfs::decodeHostName(part);
    return text;
}

void ComparisonLines::change(Change kind, const SnapshotFile* before, const SnapshotFile* after,
                             const ListingPlace& place) {
    if (!headerShown_) {
        line_(folderText(place.folder()));
        headerShown_ = true;
    }
    text_.truncate(0);
    static constexpr char16_t kMarks[] = {u'+', u'-', u'*', u'?'};
    text_ += QChar(kMarks[static_cast<int>(kind)]);
    text_ += u' ';
    appendSide(text_, before);
    text_ += QStringLiteral("  ->  ");
    appendSide(text_, after);
    text_ += QStringLiteral("  ");
    text_ += dosfs::decodeHostName(place.name());
    line_(text_);
}

void ComparisonLines::folderEnd(const ListingPlace&, const FolderSums& sums) {
    line_(QStringLiteral("  ") + sumsText(sums.filesBefore, sums.bytesBefore) +
          QStringLiteral("  ->  ") + sumsText(sums.filesAfter, sums.bytesAfter));
    headerShown_ = false;
}

void ComparisonLines::end(const ChangeCounts& c) {
    line_(QStringLiteral("Added %1  Removed %2  Changed %3  Unchanged %4  Bytes %5 -> %6")
              .arg(c.added)
              .arg(c.removed)
              .arg(c.changed)
              .arg(c.unchanged)
              .arg(c.bytesBefore)
              .arg(c.bytesAfter) +
          (c.unreadable ? QStringLiteral("  Unreadable %1").arg(c.unreadable) : QString()));
}

}  // namespace engine
