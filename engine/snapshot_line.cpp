// One line of a snapshot read with simdjson: the path with its escapes for
// bytes that are not UTF-8 turned back into the bytes, the size, the time.

#include "engine/snapshot.h"
#include "engine/snapshot_json.h"

#include <simdjson.h>

#include <algorithm>
#include <vector>

namespace engine {
namespace json {

int hexValue(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    return -1;
}

// Four hex digits at p.
bool hex4(const char* p, const char* end, char32_t& out) {
    if (end - p < 4) return false;
    out = 0;
    for (int i = 0; i < 4; ++i) {
        const int v = hexValue(p[i]);
        if (v < 0) return false;
        out = out << 4 | char32_t(v);
    }
    return true;
}

void appendUtf8(QByteArray& out, char32_t c) {
    if (c < 0x80) {
        out += char(c);
    } else if (c < 0x800) {
        out += char(0xC0 | (c >> 6));
        out += char(0x80 | (c & 0x3F));
    } else if (c < 0x10000) {
        out += char(0xE0 | (c >> 12));
        out += char(0x80 | ((c >> 6) & 0x3F));
        out += char(0x80 | (c & 0x3F));
    } else {
        out += char(0xF0 | (c >> 18));
        out += char(0x80 | ((c >> 12) & 0x3F));
        out += char(0x80 | ((c >> 6) & 0x3F));
        out += char(0x80 | (c & 0x3F));
    }
}

// The bytes of a JSON string whose text starts at p (after its quote), as
// the listing writes host bytes: \udc80 to \udcff stand for single bytes.
bool hostBytes(const char* p, const char* end, QByteArray& out) {
    static const char kSimple[] = "\"\"\\\\//b\bf\fn\nr\rt\t";
    out.truncate(0);
    while (p < end && *p != '"') {
        if (*p != '\\') {
            // A run of plain bytes at once: most paths have no escape at all.
            const char* run = p;
            while (p < end && *p != '"' && *p != '\\') ++p;
            out.append(run, p - run);
            continue;
        }
        if (++p >= end) return false;
        if (*p != 'u') {
            const char* s = kSimple;
            while (*s && *s != *p) s += 2;
            if (!*s) return false;
            out += s[1];
            ++p;
            continue;
        }
        char32_t c = 0;
        if (!hex4(p + 1, end, c)) return false;
        p += 5;
        if (c >= 0xDC80 && c <= 0xDCFF) {
            out += char(c - 0xDC00);
        } else if (c >= 0xD800 && c <= 0xDBFF) {
            char32_t low = 0;
            if (end - p < 6 || p[0] != '\\' || p[1] != 'u' || !hex4(p + 2, end, low) ||
                low < 0xDC00 || low > 0xDFFF)
                return false;
            p += 6;
            appendUtf8(out, 0x10000 + ((c - 0xD800) << 10) + (low - 0xDC00));
        } else if (c >= 0xDC00 && c <= 0xDFFF) {
            return false;
        } else {
            appendUtf8(out, c);
        }
    }
    return p < end;
}

// Days from 1970-01-01 to a date of the proleptic Gregorian calendar.
qint64 daysFromCivil(qint64 y, unsigned m, unsigned d) {
    y -= m <= 2;
    const qint64 era = (y >= 0 ? y : y - 399) / 400;
    const unsigned yoe = static_cast<unsigned>(y - era * 400);
    const unsigned doy = (153 * (m > 2 ? m - 3 : m + 9) + 2) / 5 + d - 1;
    const unsigned doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
    return era * 146097 + static_cast<qint64>(doe) - 719468;
}

bool digits(std::string_view t, size_t at, size_t n, int& value) {
    if (at + n > t.size()) return false;
    value = 0;
    for (size_t i = at; i < at + n; ++i) {
        if (t[i] < '0' || t[i] > '9') return false;
        value = value * 10 + (t[i] - '0');
    }
    return true;
}

// Whether a path names a file below the folder: parts between single
// slashes, none empty, "." or "..", and no NUL.
bool isPathBelow(const QByteArray& path) {
    if (path.contains('\0')) return false;
    for (qsizetype at = 0; at <= path.size();) {
        qsizetype end = path.indexOf('/', at);
        if (end < 0) end = path.size();
        const qsizetype n = end - at;
        if (n == 0 || (n <= 2 && path[at] == '.' && (n == 1 || path[at + 1] == '.'))) return false;
        at = end + 1;
    }
    return true;
}

bool isLeapYear(int y) {
    return (y % 4 == 0 && y % 100 != 0) || y % 400 == 0;
}

int daysInMonth(int y, int m) {
    static const int kDays[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    return m == 2 && isLeapYear(y) ? 29 : kDays[m - 1];
}

// One of 64 bits told by a key's length and first and last bytes.
quint64 likeness(std::string_view key) {
    const unsigned ends = key.empty() ? 0 : uchar(key.front()) + 3u * uchar(key.back());
    return quint64(1) << ((key.size() * 7 + ends) & 63);
}

bool isNull(od::value& v) {
    bool null = false;
    return !v.is_null().get(null) && null;
}

// The readers of a line's values each give why the value is refused, or
// null when it was read into `out`.

const char* readPath(od::value& value, const char* end, QByteArray& out) {
    od::raw_json_string raw;
    if (value.get_raw_json_string().get(raw)) return "\"path\" is not a string";
    if (!hostBytes(raw.raw(), end, out)) return "\"path\" has an escape that is not valid";
    if (!isPathBelow(out))
        return "\"path\" is not a path below the folder (\"a/b.txt\", without empty, "
               "\".\" or \"..\" parts)";
    return nullptr;
}

const char* readSize(od::value& value, qint64& out) {
    int64_t n = 0;
    if (isNull(value))
        out = dosfs::kNoSize;
    else if (value.get_int64().get(n) || n < 0)
        return "\"size\" is not a whole number of bytes";
    else
        out = n;
    return nullptr;
}

const char* readTime(od::value& value, qint64& out) {
    std::string_view text;
    if (isNull(value))
        out = dosfs::kNoTime;
    else if (value.get_string().get(text) || !parseIsoTime(text, out))
        return "\"mtime\" is not a time such as \"2024-01-05T05:07:09+09:00\"";
    return nullptr;
}

}  // namespace json

using namespace json;

bool parseIsoTime(std::string_view t, qint64& seconds) {
    int y, mo, d, h, mi, s;
    if (!digits(t, 0, 4, y) || t.size() < 19 || t[4] != '-' || !digits(t, 5, 2, mo) ||
        t[7] != '-' || !digits(t, 8, 2, d) || (t[10] != 'T' && t[10] != ' ') ||
        !digits(t, 11, 2, h) || t[13] != ':' || !digits(t, 14, 2, mi) || t[16] != ':' ||
        !digits(t, 17, 2, s))
        return false;
    if (mo < 1 || mo > 12 || d < 1 || d > daysInMonth(y, mo) || h > 23 || mi > 59 || s > 60)
        return false;
    size_t at = 19;
    if (at < t.size() && t[at] == '.') {
        ++at;
        const size_t first = at;
        while (at < t.size() && t[at] >= '0' && t[at] <= '9') ++at;
        if (at == first) return false;
    }
    int offset = 0;
    if (at + 1 == t.size() && t[at] == 'Z') {
        ++at;
    } else {
        int oh, om;
        if (at + 6 != t.size() || (t[at] != '+' && t[at] != '-') || !digits(t, at + 1, 2, oh) ||
            t[at + 3] != ':' || !digits(t, at + 4, 2, om) || oh > 23 || om > 59)
            return false;
        offset = (oh * 60 + om) * 60 * (t[at] == '-' ? -1 : 1);
    }
    seconds = daysFromCivil(y, unsigned(mo), unsigned(d)) * 86400 + h * 3600 + mi * 60 + s - offset;
    return true;
}

QString scannedFolder(const char* padded, size_t length, size_t capacity) {
    static thread_local od::parser parser;
    od::document doc;
    od::object object;
    if (parser.iterate(padded, length, capacity).get(doc) || doc.get_object().get(object))
        return {};
    QString folder;
    QByteArray path;
    for (auto field : object) {
        std::string_view key, text;
        if (field.unescaped_key().get(key)) return {};
        od::value value = field.value();
        if (key == "folder" && !value.get_string().get(text))
            folder = QString::fromUtf8(text.data(), qsizetype(text.size()));
        else if (key == "path" && !value.get_string().get(text))
            path = QByteArray(text.data(), qsizetype(text.size()));
    }
    if (folder.isEmpty() || path.isEmpty()) return {};
    // The file's folder less the folders its path goes down.
    for (qsizetype n = path.count('/'); n > 0; --n) {
        const qsizetype cut = folder.lastIndexOf(u'\\');
        if (cut < 0) return {};
        folder.truncate(cut);
    }
    return folder;
}

namespace {

// A line that says what it is ("type"): a folder's or the first; read
// whole, as a listing reads it.
LineFault typedLine(const char* padded, size_t length, size_t capacity, QString& message,
                    SnapshotLineKind* kind) {
    static thread_local SnapshotEntry entry;
    SnapshotHeader header;
    const LineFault fault = parseSnapshotEntry(padded, length, capacity, entry, header, message);
    if (fault == LineFault::None && entry.kind == SnapshotLineKind::File)
        return message = QStringLiteral("\"type\" is not \"folder\" or \"snapshot\""),
               LineFault::Content;
    if (kind) *kind = entry.kind;
    return fault;
}

}  // namespace

LineFault parseSnapshotLine(const char* padded, size_t length, size_t capacity, SnapshotFile& out,
                            QString& message, SnapshotLineKind* kind) {
    if (kind) *kind = SnapshotLineKind::File;
    static constexpr std::string_view kTyped = "{\"type\":";
    if (std::string_view(padded, std::min(length, kTyped.size())) == kTyped)
        return typedLine(padded, length, capacity, message, kind);
    static thread_local od::parser parser;
    const auto refuse = [&message](const char* why, LineFault fault = LineFault::Content) {
        message = QString::fromLatin1(why);
        return fault;
    };
    const LineFault json = LineFault::Json;
    od::document doc;
    od::object object;
    if (parser.iterate(padded, length, capacity).get(doc) || doc.get_object().get(object))
        return refuse("not a JSON object", json);
    bool path = false, size = false, mtime = false, folder = false;
    // A key given twice would leave which value counts to the reader; the
    // keys seen are looked through only when one like it was.
    static thread_local std::vector<std::string_view> keys;
    keys.clear();
    quint64 like = 0;
    for (auto field : object) {
        std::string_view key;
        if (field.unescaped_key().get(key)) return refuse("not valid JSON", json);
        const quint64 bit = likeness(key);
        const bool maybe = like & bit;
        like |= bit;
        if (maybe && std::find(keys.begin(), keys.end(), key) != keys.end()) {
            message = QStringLiteral("the key \"%1\" is given twice")
                          .arg(QString::fromUtf8(key.data(), qsizetype(key.size())));
            return LineFault::Content;
        }
        keys.push_back(key);
        od::value value = field.value();
        if (key == "path") {
            if (const char* why = readPath(value, padded + length, out.path)) return refuse(why);
            path = true;
        } else if (key == "size") {
            if (const char* why = readSize(value, out.size)) return refuse(why);
            size = true;
        } else if (key == "mtime") {
            if (const char* why = readTime(value, out.mtime)) return refuse(why);
            mtime = true;
        } else if (key == "folder") {
            folder = true;
        } else if (key == "type") {
            return typedLine(padded, length, capacity, message, kind);
        }
    }
    const char* rest = nullptr;
    if (!doc.current_location().get(rest))  // a place to go on from: more text follows
        return refuse("not valid JSON (more follows the object)", json);
    if (!path && folder)
        return refuse(
            "the snapshot was written before snapshots held paths; make a new one "
            "with tolan-list --format jsonl -o FILE FOLDER");
    if (!path) return refuse("\"path\" is missing");
    if (!size) return refuse("\"size\" is missing");
    if (!mtime) return refuse("\"mtime\" is missing");
    return LineFault::None;
}

}  // namespace engine
