#pragma once
// The field texts of listing lines: sizes, dates, counts, kilobytes, today.

#include <QString>

namespace engine {

// Right-aligned in 9 characters; a longer number grows to the left.
// An unreadable size (dosfs::kNoSize) is nine spaces and counts as 0.
void appendSizeText(QString& out, qint64 size);
qint64 sizeValue(qint64 size);

// yyyy/mm/dd h:mm:ss in local time, the date alone at exactly midnight;
// empty for an unreadable time (dosfs::kNoTime).
// Appended to out, with a two-digit hour when asked.
void appendDateText(QString& out, qint64 mtime, bool twoDigitHour);

// Right-aligned in `width` characters; a longer number grows to the left.
QString countText(qint64 count, int width);

// Kilobytes of 1000 bytes, truncated to two decimals, in the shortest form
// with at most `digits` significant digits (exponent form beyond).
QString kbText(qint64 bytes, int digits);
constexpr int kFolderDigits = 7;
constexpr int kGrandDigits = 15;

struct Today {
    QString date;  // mm-dd-yyyy
    QString time;  // hh:mm:ss
};
Today today(qint64 secondsSinceEpoch);

// Text helpers with the original's meaning: Left, Right, Space, Trim.
inline QString left(const QString& s, qsizetype n) {
    return s.left(n < 0 ? 0 : n);
}
inline QString right(const QString& s, qsizetype n) {
    return s.right(n < 0 ? 0 : n);
}
inline QString spaces(qsizetype n) {
    return QString(n < 0 ? 0 : n, u' ');
}
// Leading and trailing blanks (U+0020) removed; tabs and every other
// character stay. The view form points into the text it is given.
QStringView trimSpaces(QStringView s);
QString trimSpaces(const QString& s);
void trimSpacesInPlace(QString& s);

}  // namespace engine
