#pragma once
// The order names are listed in, by the scan and by the file list alike:
// ordinal on UTF-16 code units after lower-casing, names equal after
// lower-casing in their exact order, so a listing comes out the same from run
// to run.

#include <QString>

namespace dosfs {

// What a name is compared by first; made once a name when many are sorted.
inline QString nameKey(const QString& name) {
    return name.toLower();
}

// Whether name `a` (with its key) comes before name `b`.
inline bool nameBefore(const QString& keyA, const QString& a, const QString& keyB,
                       const QString& b) {
    if (const int c = QString::compare(keyA, keyB, Qt::CaseSensitive); c != 0) return c < 0;
    return QString::compare(a, b, Qt::CaseSensitive) < 0;
}

}  // namespace dosfs
