#include "platform/dosfs/name_order.h"

namespace dosfs {
namespace {

using Mapping = char32_t (*)(char32_t) noexcept;

// Qt leaves a character as it is where its full mapping is more than one
// character; of those, these have a simple mapping of their own: "İ" is
// "i", and the Greek letters with a subscript iota upper-case to the
// letters with an iota below ("ᾳ" is "ᾼ").
char32_t lower(char32_t c) noexcept {
    return c == 0x130 ? U'i' : QChar::toLower(c);
}
char32_t upper(char32_t c) noexcept {
    if (c >= 0x1F80 && c <= 0x1FA7 && (c & 0xF) < 8) return c + 8;
    if (c == 0x1FB3 || c == 0x1FC3 || c == 0x1FF3) return c + 9;
    return QChar::toUpper(c);
}

// Most names are ASCII: their letters are mapped without a table.
char16_t mapAscii(char16_t c, bool toLower) {
    if (toLower) return c >= u'A' && c <= u'Z' ? char16_t(c + 32) : c;
    return c >= u'a' && c <= u'z' ? char16_t(c - 32) : c;
}

// The code point at `i` and how many units it takes; a lone surrogate is
// left as it stands.
char32_t codePointAt(const char16_t* p, qsizetype n, qsizetype i, int& units) {
    units = 1;
    if (QChar::isHighSurrogate(p[i]) && i + 1 < n && QChar::isLowSurrogate(p[i + 1])) {
        units = 2;
        return QChar::surrogateToUcs4(p[i], p[i + 1]);
    }
    return p[i];
}

QString mapSimple(const QString& text, bool toLower) {
    const Mapping map = toLower ? lower : upper;
    const auto* p = reinterpret_cast<const char16_t*>(text.utf16());
    const qsizetype n = text.size();
    QString out;
    char16_t* q = nullptr;
    for (qsizetype i = 0; i < n;) {
        int units = 1;
        char32_t mapped;
        char32_t c;
        if (p[i] < 0x80) {
            c = p[i];
            mapped = mapAscii(p[i], toLower);
        } else {
            c = codePointAt(p, n, i, units);
            mapped = map(c);
            // Only a mapping that keeps the length is taken, so a name's
            // characters stay where they were.
            if ((mapped > 0xFFFF) != (units == 2)) mapped = c;
        }
        if (mapped != c && !q) {
            out = text;
            q = reinterpret_cast<char16_t*>(out.data());
        }
        if (q) {
            if (units == 2) {
                q[i] = QChar::highSurrogate(mapped);
                q[i + 1] = QChar::lowSurrogate(mapped);
            } else {
                q[i] = char16_t(mapped);
            }
        }
        i += units;
    }
    return q ? out : text;
}

}  // namespace

QString simpleLower(const QString& text) {
    return mapSimple(text, true);
}

QString simpleUpper(const QString& text) {
    return mapSimple(text, false);
}

}  // namespace dosfs
