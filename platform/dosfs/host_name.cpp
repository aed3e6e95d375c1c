#include "platform/dosfs/host_name.h"

namespace dosfs {
namespace {

constexpr char32_t kEscapeBase = 0xF700;
constexpr char32_t kEscapeLast = 0xF7FF;

// Bytes that never stand for themselves in a name: the DOS separator and
// the control characters, which would split a listing line or a record.
bool escapedAlone(unsigned char b) {
    return b == '\\' || b < 0x20 || b == 0x7F;
}

bool inEscapeRange(char32_t cp) {
    return cp >= kEscapeBase && cp <= kEscapeLast;
}

}  // namespace

int utf8Sequence(const unsigned char* p, const unsigned char* end, char32_t& cp) {
    const unsigned char b = p[0];
    int len;
    char32_t min;
    if (b < 0x80) {
        cp = b;
        return 1;
    } else if ((b & 0xE0) == 0xC0) {
        len = 2, cp = b & 0x1F, min = 0x80;
    } else if ((b & 0xF0) == 0xE0) {
        len = 3, cp = b & 0x0F, min = 0x800;
    } else if ((b & 0xF8) == 0xF0) {
        len = 4, cp = b & 0x07, min = 0x10000;
    } else {
        return 0;
    }
    if (end - p < len) return 0;
    for (int i = 1; i < len; ++i) {
        if ((p[i] & 0xC0) != 0x80) return 0;
        cp = (cp << 6) | (p[i] & 0x3F);
    }
    if (cp < min || cp > 0x10FFFF || (cp >= 0xD800 && cp <= 0xDFFF)) return 0;
    return len;
}

QString decodeHostName(const QByteArray& bytes) {
    bool plain = true;
    for (char c : bytes)
        if (static_cast<unsigned char>(c) >= 0x80 || escapedAlone(static_cast<unsigned char>(c))) {
            plain = false;
            break;
        }
    if (plain) return QString::fromLatin1(bytes);

    QString out;
    out.reserve(bytes.size());
    const auto* p = reinterpret_cast<const unsigned char*>(bytes.constData());
    const auto* end = p + bytes.size();
    while (p < end) {
        char32_t cp = 0;
        int len = escapedAlone(*p) ? 0 : utf8Sequence(p, end, cp);
        // A name holding the escape range itself keeps it reversible.
        if (len > 0 && inEscapeRange(cp)) len = 0;
        if (len == 0) {
            out.append(QChar(static_cast<char16_t>(kEscapeBase + *p)));
            ++p;
            continue;
        }
        if (cp >= 0x10000) {
            out.append(QChar::highSurrogate(cp));
            out.append(QChar::lowSurrogate(cp));
        } else {
            out.append(QChar(static_cast<char16_t>(cp)));
        }
        p += len;
    }
    return out;
}

bool hasEscapedBytes(QStringView name) {
    for (const QChar c : name)
        if (inEscapeRange(c.unicode())) return true;
    return false;
}

QByteArray encodeHostName(const QString& name) {
    bool plain = true;
    for (QChar c : name)
        if (c.unicode() >= 0x80) {
            plain = false;
            break;
        }
    if (plain) return name.toLatin1();

    QByteArray out;
    out.reserve(name.size() * 3);
    QString run;
    auto flush = [&] {
        out.append(run.toUtf8());
        run.clear();
    };
    for (QChar c : name) {
        const char16_t u = c.unicode();
        if (inEscapeRange(u)) {
            flush();
            out.append(static_cast<char>(u - kEscapeBase));
        } else {
            run.append(c);
        }
    }
    flush();
    return out;
}

}  // namespace dosfs
