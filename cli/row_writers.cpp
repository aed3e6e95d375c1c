#include "cli/row_writers.h"

#include "platform/codepage/cp932.h"

#include <cstring>
#include <ctime>

namespace cli {

const ListingKind kListingKinds[5] = {
    {"path-size-date", output::Columns::NameSizeDate, "FR1"},
    {"folder-name-size-date", output::Columns::FolderFileSizeDate, "FR0"},
    {"path-size", output::Columns::NameSize, "FR2"},
    {"path-date", output::Columns::NameDate, "FR3"},
    {"path", output::Columns::Name, "FR4"},
};

void ListingRecords::row(const QString& path, const QString& size, const QString& date,
                         const QString&, const QByteArray&, const dosfs::DirEntry&) {
    const QString record = output::record(columns_, path, size, date, csv_);
    line_.truncate(0);
    if (encoding_ == dosfs::Encoding::Utf8)
        line_ += record.toUtf8();
    else
        codepage::appendCp932(line_, record);
    line_ += "\r\n";
    if (!error_) error_ = out_.write(line_);
}

namespace {

// \uXXXX at p; returns the end.
char* escaped(char* p, char16_t c) {
    static const char hex[] = "0123456789abcdef";
    *p++ = '\\';
    *p++ = 'u';
    for (int shift = 12; shift >= 0; shift -= 4) *p++ = hex[(c >> shift) & 0xF];
    return p;
}

// The length of the valid UTF-8 sequence at p (shortest form, no
// surrogates, at most U+10FFFF), or 0.
int utf8Length(const unsigned char* p, const unsigned char* end) {
    const unsigned char b = p[0];
    int n = b < 0x80 ? 1 : (b >> 5) == 0x6 ? 2 : (b >> 4) == 0xE ? 3 : (b >> 3) == 0x1E ? 4 : 0;
    if (n == 0 || end - p < n) return 0;
    char32_t c = n == 1 ? b : b & (0x7F >> n);
    for (int i = 1; i < n; ++i) {
        if ((p[i] & 0xC0) != 0x80) return 0;
        c = (c << 6) | (p[i] & 0x3F);
    }
    const char32_t least[] = {0, 0, 0x80, 0x800, 0x10000};
    if (c < least[n] || c > 0x10FFFF || (c >= 0xD800 && c <= 0xDFFF)) return 0;
    return n;
}

char* digits(char* p, long n, int width) {
    for (int k = width - 1; k >= 0; --k, n /= 10) p[k] = static_cast<char>('0' + n % 10);
    return p + width;
}

void appendInteger(QByteArray& out, qint64 n) {
    char text[24];
    char* p = text + sizeof text;
    const bool negative = n < 0;
    quint64 v = negative ? 0 - quint64(n) : quint64(n);
    do *--p = static_cast<char>('0' + v % 10);
    while (v /= 10);
    if (negative) *--p = '-';
    out.append(p, text + sizeof text - p);
}

// "yyyy-mm-ddThh:mm:ss+hh:mm" in local time, quoted.
void appendOffsetTime(QByteArray& out, qint64 seconds) {
    const time_t t = static_cast<time_t>(seconds);
    tm local{};
    const long year = localtime_r(&t, &local) ? local.tm_year + 1900L : -1;
    if (year < 0 || year > 9999) {
        out += "null";
        return;
    }
    const long offset = local.tm_gmtoff / 60;
    const qsizetype start = out.size();
    out.resize(start + 27);
    char* p = out.data() + start;
    *p++ = '"';
    p = digits(p, year, 4);
    *p++ = '-';
    p = digits(p, local.tm_mon + 1, 2);
    *p++ = '-';
    p = digits(p, local.tm_mday, 2);
    *p++ = 'T';
    p = digits(p, local.tm_hour, 2);
    *p++ = ':';
    p = digits(p, local.tm_min, 2);
    *p++ = ':';
    p = digits(p, local.tm_sec, 2);
    *p++ = offset < 0 ? '-' : '+';
    p = digits(p, std::labs(offset) / 60 % 100, 2);
    *p++ = ':';
    p = digits(p, std::labs(offset) % 60, 2);
    *p = '"';
}

// Whether a name's JSON writes a surrogate pair as two escapes, where the
// JSON of its bytes on disk holds the character itself.
bool hasSurrogates(QStringView name) {
    for (const QChar ch : name)
        if (ch.isSurrogate()) return true;
    return false;
}

}  // namespace

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
        const int n = utf8Length(p, end);
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

void JsonLines::row(const QString& path, const QString& size, const QString& date,
                    const QString& folderPath, const QByteArray& hostFolder,
                    const dosfs::DirEntry& entry) {
    (void)path;
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
    l += ",\"size\":";
    if (entry.size == dosfs::kNoSize)
        l += "null";
    else
        appendInteger(l, entry.size);
    l += ",\"mtime\":";
    if (entry.mtime == dosfs::kNoTime)
        l += "null";
    else
        appendOffsetTime(l, entry.mtime);
    l += ",\"size_text\":";
    appendJsonString(l, size);
    l += ",\"date_text\":";
    appendJsonString(l, date);
    l += "}\n";
    if (!error_) error_ = out_.write(l);
}

}  // namespace cli
