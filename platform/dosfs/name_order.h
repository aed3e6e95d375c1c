#pragma once
// The order names are listed in, by the scan, the file list and the
// comparison's merge alike: ordinal on UTF-16 code units after lower-casing,
// names equal after lower-casing in their exact order, so a listing comes out
// the same from run to run.
//
// Case is changed one character to one character, as a file system that
// ignores case compares names: "İ" is "i", "ß" stays "ß", "ﬁ" stays "ﬁ",
// so a name keeps its length and no letter turns into two.

#include <QString>

namespace dosfs {

// `text` with each character lower-cased (or upper-cased) by its own simple
// mapping; `text` itself, not copied, when nothing changes.
QString simpleLower(const QString& text);
QString simpleUpper(const QString& text);

// What a name is compared by first; made once a name when many are sorted.
inline QString nameKey(const QString& name) {
    return simpleLower(name);
}

// Negative, 0 or positive as name `a` (with its key) comes before, with or
// after name `b`.
inline int nameCompare(const QString& keyA, const QString& a, const QString& keyB,
                       const QString& b) {
    if (const int c = QString::compare(keyA, keyB, Qt::CaseSensitive); c != 0) return c;
    return QString::compare(a, b, Qt::CaseSensitive);
}

inline bool nameBefore(const QString& keyA, const QString& a, const QString& keyB,
                       const QString& b) {
    return nameCompare(keyA, a, keyB, b) < 0;
}

}  // namespace dosfs
