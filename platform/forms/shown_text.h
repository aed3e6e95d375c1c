#pragma once
// The window's texts are Japanese in the code, the texts of record. Each is
// marked where it is defined with QT_TRANSLATE_NOOP("Tolan", ...) so that
// lupdate finds it, and is given in the user's language only where it
// reaches the screen: the models, the settings record and every file the
// program writes hold the same bytes in either language.

#include <QCoreApplication>
#include <QString>

#include <algorithm>
#include <climits>

namespace forms {

// `text` in the language of the installed catalogue, or as it stands when
// the catalogue has no entry for it (data, numbers, paths).
inline QString shown(const QString& text) {
    if (text.isEmpty()) return text;
    return QCoreApplication::translate("Tolan", text.toUtf8().constData());
}

// `text` holding a count, in the form the user's language gives that
// number (a file, two files); marked with QT_TRANSLATE_N_NOOP.
inline QString shownCount(const QString& text, qint64 n) {
    return QCoreApplication::translate("Tolan", text.toUtf8().constData(), nullptr,
                                       static_cast<int>(std::min<qint64>(n, INT_MAX)));
}

}  // namespace forms
