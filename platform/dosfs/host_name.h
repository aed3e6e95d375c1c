#pragma once
// Host file names are bytes; the program works in text. Names are decoded as
// UTF-8; a byte that is not part of valid UTF-8, a backslash (the DOS path
// separator), a control character (U+0000 to U+001F and U+007F, which would
// split a listing line) and the bytes of a character from the escape range
// itself map to U+F700 + byte, so every name converts back to exactly the
// bytes it came from. Code page 932 writes each of them as "?".

#include <QByteArray>
#include <QString>

namespace dosfs {

QString decodeHostName(const QByteArray& bytes);
QByteArray encodeHostName(const QString& name);
// Whether a name holds a character of the escape range: without one, its
// bytes on disk are the UTF-8 of its characters.
bool hasEscapedBytes(QStringView name);
// The length of the valid UTF-8 sequence at p (shortest form, no
// surrogates, at most U+10FFFF) with its code point; 0 when there is none.
int utf8Sequence(const unsigned char* p, const unsigned char* end, char32_t& cp);

}  // namespace dosfs
