#include "engine/renderings.h"

#include "platform/dosfs/directory.h"

#include <ctime>
#include <string>

namespace engine {
namespace {

QString twoDigits(int n) {
    return QString(QChar(u'0' + n / 10 % 10)) + QChar(u'0' + n % 10);
}

void appendTwoDigits(QString& out, int n) {
    out += QChar(u'0' + n / 10 % 10);
    out += QChar(u'0' + n % 10);
}

// QString::number's decimal form, written backwards so that it ends just
// before `to` (20 characters at most); returns where it starts.
char16_t* decimal(qint64 n, char16_t* to) {
    quint64 u = n < 0 ? 0 - static_cast<quint64>(n) : static_cast<quint64>(n);
    do {
        *--to = static_cast<char16_t>(u'0' + u % 10);
        u /= 10;
    } while (u > 0);
    if (n < 0) *--to = u'-';
    return to;
}

// The same right-aligned in `width` characters, appended without a
// temporary string.
void appendNumber(QString& out, qint64 n, qsizetype width = 0) {
    char16_t buffer[20];
    char16_t* end = buffer + 20;
    const char16_t* first = decimal(n, end);
    const qsizetype length = end - first;
    if (length < width) out.resize(out.size() + width - length, u' ');
    out.append(reinterpret_cast<const QChar*>(first), length);
}

bool localTime(qint64 seconds, std::tm& out) {
    const std::time_t t = static_cast<std::time_t>(seconds);
    return localtime_r(&t, &out) != nullptr;
}

}  // namespace

QStringView trimSpaces(QStringView s) {
    qsizetype b = 0, e = s.size();
    while (b < e && s[b] == u' ') ++b;
    while (e > b && s[e - 1] == u' ') --e;
    return s.mid(b, e - b);
}

QString trimSpaces(const QString& s) {
    const QStringView t = trimSpaces(QStringView(s));
    return t.size() == s.size() ? s : t.toString();
}

void trimSpacesInPlace(QString& s) {
    const QStringView t = trimSpaces(QStringView(s));
    const qsizetype begin = t.data() - s.constData();
    s.truncate(begin + t.size());
    if (begin > 0) s.remove(0, begin);
}

void appendSizeText(QString& out, qint64 size) {
    if (size == dosfs::kNoSize)
        out.resize(out.size() + 9, u' ');
    else
        appendNumber(out, size, 9);
}

qint64 sizeValue(qint64 size) {
    return size == dosfs::kNoSize ? 0 : size;
}

void appendDateText(QString& out, qint64 mtime, bool twoDigitHour) {
    std::tm tm{};
    if (mtime == dosfs::kNoTime || !localTime(mtime, tm)) return;
    appendNumber(out, tm.tm_year + 1900);
    out += u'/';
    appendTwoDigits(out, tm.tm_mon + 1);
    out += u'/';
    appendTwoDigits(out, tm.tm_mday);
    if (tm.tm_hour == 0 && tm.tm_min == 0 && tm.tm_sec == 0) return;
    out += u' ';
    if (twoDigitHour)
        appendTwoDigits(out, tm.tm_hour);
    else
        appendNumber(out, tm.tm_hour);
    out += u':';
    appendTwoDigits(out, tm.tm_min);
    out += u':';
    appendTwoDigits(out, tm.tm_sec);
}

QString countText(qint64 count, int width) {
    const QString digits = QString::number(count);
    return digits.size() >= width ? digits : spaces(width - digits.size()) + digits;
}

QString kbText(qint64 bytes, int digits) {
    // The value is hundredths = floor(bytes / 10), shown as hundredths / 100.
    qint64 hundredths = bytes < 0 ? 0 : bytes / 10;
    if (hundredths == 0) return QStringLiteral("0");
    std::string s = std::to_string(hundredths);
    int scale = -2;  // value = s * 10^scale
    if (static_cast<int>(s.size()) > digits) {
        // Round half up to `digits` significant digits.
        const int drop = static_cast<int>(s.size()) - digits;
        const bool up = s[digits] >= '5';
        s.resize(digits);
        scale += drop;
        if (up) {
            int i = digits - 1;
            while (i >= 0 && s[i] == '9') s[i--] = '0';
            if (i < 0) {
                s.insert(s.begin(), '1');
                s.pop_back();
                ++scale;
            } else {
                ++s[i];
            }
        }
    }
    while (s.size() > 1 && s.back() == '0' && scale < 0) {
        s.pop_back();
        ++scale;
    }
    const int exponent = static_cast<int>(s.size()) - 1 + scale;
    std::string out;
    if (exponent >= digits) {
        while (s.size() > 1 && s.back() == '0') s.pop_back();
        out = s.substr(0, 1);
        if (s.size() > 1) out += "." + s.substr(1);
        out += "E+";
        if (exponent < 10) out += '0';
        out += std::to_string(exponent);
    } else if (scale >= 0) {
        out = s + std::string(static_cast<size_t>(scale), '0');
    } else {
        const int point = static_cast<int>(s.size()) + scale;  // digits before the point
        if (point > 0)
            out = s.substr(0, static_cast<size_t>(point)) + "." +
                  s.substr(static_cast<size_t>(point));
        else
            out = "0." + std::string(static_cast<size_t>(-point), '0') + s;
    }
    return QString::fromLatin1(out.c_str());
}

Today today(qint64 secondsSinceEpoch) {
    std::tm tm{};
    localTime(secondsSinceEpoch, tm);
    return {twoDigits(tm.tm_mon + 1) + u'-' + twoDigits(tm.tm_mday) + u'-' +
                QString::number(tm.tm_year + 1900),
            twoDigits(tm.tm_hour) + u':' + twoDigits(tm.tm_min) + u':' + twoDigits(tm.tm_sec)};
}

}  // namespace engine
