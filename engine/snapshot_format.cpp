#include "engine/snapshot_format.h"

#include "platform/dosfs/host_name.h"
#include "tolan/version.h"

#include <charconv>
#include <cstdio>
#include <cstring>
#include <ctime>

namespace engine {

namespace {

// \uXXXX at p; returns the end.
char* escaped(char* p, char16_t c) {
    static const char hex[] = "0123456789abcdef";
    *p++ = '\\';
    *p++ = 'u';
    for (int shift = 12; shift >= 0; shift -= 4) *p++ = hex[(c >> shift) & 0xF];
    return p;
}

void appendInteger(QByteArray& out, qint64 n) {
    char text[24];
    const auto end = std::to_chars(text, text + sizeof text, n).ptr;
    out.append(text, end - text);
}

// The local time of a moment that JSON lines can write (years 0 to 9999).
bool writableTime(qint64 seconds, tm& local, long& year) {
    if (seconds == dosfs::kNoTime) return false;
    const time_t t = static_cast<time_t>(seconds);
    year = localtime_r(&t, &local) ? local.tm_year + 1900L : -1;
    return year >= 0 && year <= 9999;
}

// Whether a name's JSON writes a surrogate pair as two escapes, where the
// JSON of its bytes on disk holds the character itself.
bool hasSurrogates(QStringView name) {
    for (const QChar ch : name)
        if (ch.isSurrogate()) return true;
    return false;
}

}  // namespace

qint64 snapshotTime(qint64 seconds) {
    // Well inside the years 0 to 9999 in every zone: no need to ask.
    constexpr qint64 kDay = 86400;
    constexpr qint64 kYear0 = -62167219200, kYear10000 = 253402300800;
    if (seconds > kYear0 + 2 * kDay && seconds < kYear10000 - 2 * kDay) return seconds;
    tm local{};
    long year = 0;
    return writableTime(seconds, local, year) ? seconds : dosfs::kNoTime;
}

void appendJsonTime(QByteArray& out, qint64 seconds) {
    tm local{};
    long year = 0;
    if (!writableTime(seconds, local, year)) {
        out += "null";
        return;
    }
    // %Y leaves out the zeros of a year before 1000. %z gives +hhmm; JSON
    // readers expect ISO 8601's +hh:mm.
    char text[48];
    const int y = std::snprintf(text, sizeof text, "\"%04ld", year);
    const size_t n = y + std::strftime(text + y, sizeof text - y, "-%m-%dT%H:%M:%S%z", &local);
    out.append(text, qsizetype(n) - 2);
    out += ':';
    out.append(text + n - 2, 2);
    out += '"';
}

QByteArray relativeFolder(const QByteArray& rootHost, const QByteArray& hostFolder) {
    QByteArray root = rootHost;
    if (!root.endsWith('/')) root += '/';
    if (!(hostFolder + '/').startsWith(root)) return {};
    QByteArray rest = hostFolder.mid(root.size());
    if (!rest.isEmpty()) rest += '/';
    return rest;
}

void appendJsonString(QByteArray& out, QStringView text) {
    // Written in place: room for the longest form, cut to what was written.
    const qsizetype start = out.size();
    out.resize(start + 2 + text.size() * 6);
    char* p = out.data() + start;
    *p++ = '"';
    for (const QChar ch : text) {
        const char16_t c = ch.unicode();
        if (c == u'"' || c == u'\\') {
            *p++ = '\\';
            *p++ = static_cast<char>(c);
        } else if (c < 0x20 || c == 0x7F || ch.isSurrogate()) {
            p = escaped(p, c);  // a pair as two escapes, which JSON joins again
        } else if (c < 0x80) {
            *p++ = static_cast<char>(c);
        } else if (c < 0x800) {
            *p++ = static_cast<char>(0xC0 | (c >> 6));
            *p++ = static_cast<char>(0x80 | (c & 0x3F));
        } else {
            *p++ = static_cast<char>(0xE0 | (c >> 12));
            *p++ = static_cast<char>(0x80 | ((c >> 6) & 0x3F));
            *p++ = static_cast<char>(0x80 | (c & 0x3F));
        }
    }
    *p++ = '"';
    out.resize(p - out.constData());
}

void appendJsonHostString(QByteArray& out, const QByteArray& bytes) {
    const qsizetype start = out.size();
    out.resize(start + 2 + bytes.size() * 6);
    char* o = out.data() + start;
    *o++ = '"';
    const auto* p = reinterpret_cast<const unsigned char*>(bytes.constData());
    const auto* end = p + bytes.size();
    while (p < end) {
        char32_t cp = 0;
        const int n = dosfs::utf8Sequence(p, end, cp);
        if (n == 0) {
            o = escaped(o, static_cast<char16_t>(0xDC00 + *p++));
        } else if (n > 1) {
            for (int k = 0; k < n; ++k) *o++ = static_cast<char>(*p++);
        } else if (*p == '"' || *p == '\\') {
            *o++ = '\\';
            *o++ = static_cast<char>(*p++);
        } else if (*p < 0x20 || *p == 0x7F) {
            o = escaped(o, *p++);
        } else {
            *o++ = static_cast<char>(*p++);
        }
    }
    *o++ = '"';
    out.resize(o - out.constData());
}

void SnapshotLines::write() {
    line_ += '\n';
    if (!error_) error_ = out_.write(line_);
}

void SnapshotLines::header(const SnapshotHeader& header) {
    QByteArray& l = line_;
    l = kHeaderLineStart;
    l += ",\"program\":\"tolan\",\"format\":";
    appendInteger(l, kSnapshotFormat);
    l += ",\"version\":";
    appendJsonString(l, QStringLiteral(TOLAN_VERSION));
    l += ",\"folder\":";
    appendJsonString(l, header.folder);
    l += ",\"host_folder\":";
    appendJsonHostString(l, header.hostFolder);
    l += ",\"drives\":[";
    for (qsizetype i = 0; i < header.drives.size(); ++i) {
        if (i) l += ',';
        appendJsonString(l, header.drives[i]);
    }
    l += "],\"exclude\":[";
    for (qsizetype i = 0; i < header.exclude.size(); ++i) {
        if (i) l += ',';
        appendJsonHostString(l, header.exclude[i]);
    }
    l += "],\"time\":";
    appendJsonTime(l, header.time);
    l += '}';
    write();
}

void SnapshotLines::folder(const QString& folderPath, const QByteArray& hostFolder, int error) {
    QByteArray& l = line_;
    l = kFolderLineStart;
    l += ",\"folder\":";
    appendJsonString(l, folderPath);
    l += ",\"host_folder\":";
    appendJsonHostString(l, hostFolder);
    l += ",\"path\":";
    QByteArray relative = relativeFolder(rootHost_, hostFolder);
    relative.chop(1);
    appendJsonHostString(l, relative);
    l += ",\"error\":";
    if (error)
        appendInteger(l, error);
    else
        l += "null";
    l += '}';
    write();
}

void SnapshotLines::file(const QString& folderPath, const QByteArray& hostFolder,
                         const dosfs::DirEntry& entry, const QString& sizeText,
                         const QString& dateText) {
    // The files of a folder come together: its part is made once. They
    // come with the folder's own strings, so sharing them says it at once.
    const bool sameFolder =
        (folderPath.constData() == folderPath_.constData() || folderPath == folderPath_) &&
        (hostFolder.constData() == hostFolder_.constData() || hostFolder == hostFolder_);
    if (!sameFolder) {
        folderPath_ = folderPath;
        hostFolder_ = hostFolder;
        folderPart_ = "{\"folder\":";
        appendJsonString(folderPart_, folderPath);
        folderPart_ += ",\"host_folder\":";
        appendJsonHostString(folderPart_, hostFolder);
        relative_ = relativeFolder(rootHost_, hostFolder);
    }
    QByteArray& l = line_;
    l.truncate(0);
    l += folderPart_;
    l += ",\"name\":";
    const qsizetype nameStart = l.size();
    appendJsonString(l, entry.name);
    const qsizetype nameEnd = l.size();
    l += ",\"host_name\":";
    // A name without escaped bytes is its bytes' UTF-8: the same JSON.
    if (entry.hostName.isEmpty() && !dosfs::hasEscapedBytes(entry.name) &&
        !hasSurrogates(entry.name)) {
        const qsizetype at = l.size();
        l.resize(at + nameEnd - nameStart);
        std::memcpy(l.data() + at, l.constData() + nameStart, size_t(nameEnd - nameStart));
    } else {
        appendJsonHostString(l, dosfs::hostNameOf(entry));
    }
    l += ",\"path\":";
    appendJsonHostString(l, relative_ + dosfs::hostNameOf(entry));
    l += ",\"size\":";
    if (entry.size == dosfs::kNoSize)
        l += "null";
    else
        appendInteger(l, entry.size);
    l += ",\"mtime\":";
    appendJsonTime(l, entry.mtime);
    l += ",\"size_text\":";
    appendJsonString(l, sizeText);
    l += ",\"date_text\":";
    appendJsonString(l, dateText);
    l += ",\"blocks\":";
    if (entry.blocks == dosfs::kNoSize)
        l += "null";
    else
        appendInteger(l, entry.blocks);
    l += entry.readOnly ? ",\"read_only\":true}" : ",\"read_only\":false}";
    write();
}

}  // namespace engine
