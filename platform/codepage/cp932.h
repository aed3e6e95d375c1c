#pragma once
// Code page 932 (Shift_JIS as Windows writes it), met only where text
// crosses a file boundary and where the listing measures display width.

#include <QByteArray>
#include <QString>
#include <QStringView>

namespace codepage {

// Text to code page 932. A character the code page cannot hold becomes one
// "?"; *lossless (when given) tells whether that happened.
QByteArray toCp932(const QString& text, bool* lossless = nullptr);
// The same appended to out, which keeps its room from line to line.
void appendCp932(QByteArray& out, QStringView text, bool* lossless = nullptr);

// Code page 932 to text. A byte sequence that is not valid becomes U+FFFD;
// *valid (when given) tells whether that happened.
QString fromCp932(const QByteArray& bytes, bool* valid = nullptr);

// Number of bytes toCp932(text) produces, without building them when every
// character is a single byte (ASCII and half-width katakana). It is also the
// display cells the text takes in the listing's fixed-width columns, on
// screen, on paper and in the files alike: a character the code page cannot
// hold is one "?".
int cp932Length(QStringView text);

}  // namespace codepage
