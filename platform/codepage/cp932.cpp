#include "platform/codepage/cp932.h"

#include <iconv.h>

#include <algorithm>
#include <cerrno>
#include <stdexcept>

namespace codepage {
namespace {

// Half-width katakana U+FF61..U+FF9F are the single bytes 0xA1..0xDF.
constexpr char16_t kKanaFirst = 0xFF61;
constexpr char16_t kKanaLast = 0xFF9F;

bool isSingleByte(char16_t c) {
    return c < 0x80 || (c >= kKanaFirst && c <= kKanaLast);
}

char singleByte(char16_t c) {
    return c < 0x80 ? static_cast<char>(c) : static_cast<char>(c - kKanaFirst + 0xA1);
}

// One converter per direction and thread, reset before each use.
class Converter {
  public:
    Converter(const char* to, const char* from) : cd_(iconv_open(to, from)) {
        if (cd_ == reinterpret_cast<iconv_t>(-1))
            throw std::runtime_error("iconv cannot convert between UTF-16LE and CP932");
    }
    ~Converter() { iconv_close(cd_); }
    Converter(const Converter&) = delete;
    Converter& operator=(const Converter&) = delete;

    // Converts in one pass; on an invalid input unit calls skip(), which
    // appends a replacement and says how many input bytes to pass over.
    template <typename Skip>
    void run(const char* in, size_t inLeft, QByteArray& out, Skip skip) {
        iconv(cd_, nullptr, nullptr, nullptr, nullptr);
        char buffer[4096];
        char* src = const_cast<char*>(in);
        while (inLeft > 0) {
            char* dst = buffer;
            size_t dstLeft = sizeof buffer;
            const size_t rc = iconv(cd_, &src, &inLeft, &dst, &dstLeft);
            out.append(buffer, static_cast<qsizetype>(dst - buffer));
            if (rc != static_cast<size_t>(-1)) continue;
            if (errno == E2BIG) continue;
            const size_t step = std::min(inLeft, skip(src, inLeft, out));
            src += step;
            inLeft -= step;
            iconv(cd_, nullptr, nullptr, nullptr, nullptr);
        }
    }

  private:
    iconv_t cd_;
};

Converter& encoder() {
    thread_local Converter c("CP932", "UTF-16LE");
    return c;
}

Converter& decoder() {
    thread_local Converter c("UTF-16LE", "CP932");
    return c;
}

bool isHighSurrogate(char16_t c) {
    return c >= 0xD800 && c <= 0xDBFF;
}
bool isLowSurrogate(char16_t c) {
    return c >= 0xDC00 && c <= 0xDFFF;
}

}  // namespace

bool isSingleByteText(const QString& text) {
    for (QChar c : text)
        if (!isSingleByte(c.unicode())) return false;
    return true;
}

QByteArray toCp932(const QString& text, bool* lossless) {
    if (lossless) *lossless = true;
    QByteArray out;
    if (isSingleByteText(text)) {
        out.resize(text.size());
        char* p = out.data();
        for (QChar c : text) *p++ = singleByte(c.unicode());
        return out;
    }
    out.reserve(text.size() * 2);
    bool lost = false;
    encoder().run(reinterpret_cast<const char*>(text.utf16()), static_cast<size_t>(text.size()) * 2,
                  out, [&lost](const char* at, size_t left, QByteArray& o) -> size_t {
                      // One character, a surrogate pair included, is one "?".
                      lost = true;
                      o.append('?');
                      const auto* u = reinterpret_cast<const char16_t*>(at);
                      if (left >= 4 && isHighSurrogate(u[0]) && isLowSurrogate(u[1])) return 4;
                      return 2;
                  });
    if (lossless) *lossless = !lost;
    return out;
}

QString fromCp932(const QByteArray& bytes, bool* valid) {
    if (valid) *valid = true;
    bool ascii = true;
    for (char b : bytes)
        if (static_cast<unsigned char>(b) >= 0x80) {
            ascii = false;
            break;
        }
    if (ascii) return QString::fromLatin1(bytes);
    QByteArray utf16;
    utf16.reserve(bytes.size() * 2);
    bool bad = false;
    decoder().run(bytes.constData(), static_cast<size_t>(bytes.size()), utf16,
                  [&bad](const char*, size_t, QByteArray& o) -> size_t {
                      bad = true;
                      o.append("\xFD\xFF", 2);  // U+FFFD, little endian
                      return 1;
                  });
    if (valid) *valid = !bad;
    return QString(reinterpret_cast<const QChar*>(utf16.constData()), utf16.size() / 2);
}

int cp932Length(const QString& text) {
    if (isSingleByteText(text)) return static_cast<int>(text.size());
    return static_cast<int>(toCp932(text).size());
}

}  // namespace codepage
