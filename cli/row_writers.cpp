#include "cli/row_writers.h"

#include "platform/codepage/cp932.h"

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

void appendEscaped(QByteArray& out, char16_t c) {
    static const char hex[] = "0123456789abcdef";
    out += "\\u";
    for (int shift = 12; shift >= 0; shift -= 4) out += hex[(c >> shift) & 0xF];
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

void appendOffsetTime(QByteArray& out, qint64 seconds) {
    const time_t t = static_cast<time_t>(seconds);
    tm local{};
    if (!localtime_r(&t, &local)) {
        out += "null";
        return;
    }
    char text[96];
    const long offset = local.tm_gmtoff / 60;
    std::snprintf(text, sizeof text, "\"%04d-%02d-%02dT%02d:%02d:%02d%c%02ld:%02ld\"",
                  local.tm_year + 1900, local.tm_mon + 1, local.tm_mday, local.tm_hour,
                  local.tm_min, local.tm_sec, offset < 0 ? '-' : '+', std::labs(offset) / 60,
                  std::labs(offset) % 60);
    out += text;
}

}  // namespace

void appendJsonString(QByteArray& out, QStringView text) {
    out += '"';
    for (const QChar ch : text) {
        const char16_t c = ch.unicode();
        if (c == u'"' || c == u'\\') {
            out += '\\';
            out += static_cast<char>(c);
        } else if (c < 0x20 || c == 0x7F || ch.isSurrogate()) {
            appendEscaped(out, c);  // a pair as two escapes, which JSON joins again
        } else if (c < 0x80) {
            out += static_cast<char>(c);
        } else if (c < 0x800) {
            out += static_cast<char>(0xC0 | (c >> 6));
            out += static_cast<char>(0x80 | (c & 0x3F));
        } else {
            out += static_cast<char>(0xE0 | (c >> 12));
            out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
            out += static_cast<char>(0x80 | (c & 0x3F));
        }
    }
    out += '"';
}

void appendJsonHostString(QByteArray& out, const QByteArray& bytes) {
    out += '"';
    const auto* p = reinterpret_cast<const unsigned char*>(bytes.constData());
    const auto* end = p + bytes.size();
    while (p < end) {
        const int n = utf8Length(p, end);
        if (n == 0) {
            appendEscaped(out, static_cast<char16_t>(0xDC00 + *p++));
        } else if (n == 1 && (*p < 0x20 || *p == 0x7F || *p == '"' || *p == '\\')) {
            if (*p == '"' || *p == '\\') {
                out += '\\';
                out += static_cast<char>(*p);
            } else {
                appendEscaped(out, *p);
            }
            ++p;
        } else {
            out.append(reinterpret_cast<const char*>(p), n);
            p += n;
        }
    }
    out += '"';
}

void JsonLines::row(const QString& path, const QString& size, const QString& date,
                    const QString& folderPath, const QByteArray& hostFolder,
                    const dosfs::DirEntry& entry) {
    (void)path;
    QByteArray& l = line_;
    l.truncate(0);
    l += "{\"folder\":";
    appendJsonString(l, folderPath);
    l += ",\"name\":";
    appendJsonString(l, entry.name);
    l += ",\"host_folder\":";
    appendJsonHostString(l, hostFolder);
    l += ",\"host_name\":";
    appendJsonHostString(l, entry.hostName);
    l += ",\"size\":";
    l += entry.size == dosfs::kNoSize ? QByteArray("null") : QByteArray::number(entry.size);
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
