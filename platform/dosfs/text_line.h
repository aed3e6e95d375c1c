#pragma once
// A line of text as the program's text files hold it: code page 932 (a
// character the code page cannot hold becomes one "?") or UTF-8, ended by
// CR LF.

#include "platform/codepage/cp932.h"

#include <QByteArray>
#include <QStringView>

namespace dosfs {

enum class Encoding { Cp932, Utf8 };

// `line` encoded and CR LF appended to `out`, which keeps its room from line
// to line.
inline void appendLine(QByteArray& out, QStringView line, Encoding encoding) {
    if (encoding == Encoding::Utf8)
        out += line.toUtf8();
    else
        codepage::appendCp932(out, line);
    out += "\r\n";
}

}  // namespace dosfs
