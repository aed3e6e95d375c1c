#include "platform/codepage/cp932.h"

#include <iconv.h>

#ifdef __SSE2__
#include <emmintrin.h>
#endif

#include <algorithm>
#include <cerrno>
#include <cstdint>
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

// The length of the leading run of ASCII characters of u[0..n), copied to
// out as bytes when out is given. Listing lines are mostly ASCII and
// padding, so the run is taken eight characters at a time where the
// processor can.
qsizetype asciiRun(const char16_t* u, qsizetype n, char* out = nullptr) {
    qsizetype i = 0;
#ifdef __SSE2__
    const __m128i high = _mm_set1_epi16(static_cast<short>(0xFF80));
    for (; i + 8 <= n; i += 8) {
        const __m128i v = _mm_loadu_si128(reinterpret_cast<const __m128i*>(u + i));
        const __m128i ascii = _mm_cmpeq_epi16(_mm_and_si128(v, high), _mm_setzero_si128());
        if (_mm_movemask_epi8(ascii) != 0xFFFF) break;
        if (out) _mm_storel_epi64(reinterpret_cast<__m128i*>(out + i), _mm_packus_epi16(v, v));
    }
#endif
    for (; i < n && u[i] < 0x80; ++i)
        if (out) out[i] = static_cast<char>(u[i]);
    return i;
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

// The code page form of every BMP character, filled from iconv one block of
// 256 characters at a time as the blocks are first met. The code page keeps
// no state between characters, so converting character by character gives
// what converting the whole text gives.
class EncodeTable {
  public:
    // Up to two bytes, high byte first; 0 when the code page cannot hold it.
    uint16_t lookup(char16_t c) {
        Block& b = blocks_[c >> 8];
        if (!b.filled) fill(b, static_cast<char16_t>(c & 0xFF00));
        return b.code[c & 0xFF];
    }

  private:
    struct Block {
        bool filled = false;
        uint16_t code[256] = {};
    };
    static void fill(Block& b, char16_t first) {
        for (int i = 0; i < 256; ++i) {
            const char16_t c = static_cast<char16_t>(first + i);
            if (c == 0 || isHighSurrogate(c) || isLowSurrogate(c)) continue;
            QByteArray out;
            bool lost = false;
            encoder().run(reinterpret_cast<const char*>(&c), 2, out,
                          [&lost](const char*, size_t, QByteArray&) -> size_t {
                              lost = true;
                              return 2;
                          });
            if (lost || out.isEmpty() || out.size() > 2) continue;
            const auto* u = reinterpret_cast<const unsigned char*>(out.constData());
            b.code[i] = out.size() == 1 ? u[0] : static_cast<uint16_t>(u[0] << 8 | u[1]);
        }
        b.filled = true;
    }
    Block blocks_[256];
};

EncodeTable& table() {
    thread_local EncodeTable t;
    return t;
}

}  // namespace

QByteArray toCp932(const QString& text, bool* lossless) {
    QByteArray out;
    appendCp932(out, text, lossless);
    return out;
}

void appendCp932(QByteArray& out, QStringView text, bool* lossless) {
    const qsizetype start = out.size();
    const auto* u = text.utf16();
    const qsizetype n = text.size();
    out.resize(start + n * 2);  // at most two bytes a character
    char* p = out.data() + start;
    bool lost = false;
    EncodeTable* t = nullptr;
    for (qsizetype i = 0; i < n; ++i) {
        const qsizetype run = asciiRun(u + i, n - i, p);
        p += run;
        i += run;
        if (i == n) break;
        const char16_t c = u[i];
        if (isSingleByte(c)) {
            *p++ = singleByte(c);
            continue;
        }
        if (!t) t = &table();
        const uint16_t code = isHighSurrogate(c) || isLowSurrogate(c) ? 0 : t->lookup(c);
        if (code == 0) {
            // One character, a surrogate pair included, is one "?".
            lost = true;
            *p++ = '?';
            if (isHighSurrogate(c) && i + 1 < n && isLowSurrogate(u[i + 1])) ++i;
        } else if (code > 0xFF) {
            *p++ = static_cast<char>(code >> 8);
            *p++ = static_cast<char>(code & 0xFF);
        } else {
            *p++ = static_cast<char>(code);
        }
    }
    out.truncate(p - out.constData());
    if (lossless) *lossless = !lost;
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

int cp932Length(QStringView text) {
    EncodeTable* t = nullptr;
    const auto* u = text.utf16();
    const qsizetype n = text.size();
    qsizetype length = 0;
    for (qsizetype i = 0; i < n; ++i) {
        const qsizetype run = asciiRun(u + i, n - i);
        length += run;
        i += run;
        if (i == n) break;
        const char16_t c = u[i];
        if (isSingleByte(c)) {
            ++length;
            continue;
        }
        if (isHighSurrogate(c) && i + 1 < n && isLowSurrogate(u[i + 1])) ++i;
        if (!t) t = &table();
        const uint16_t code = isHighSurrogate(c) || isLowSurrogate(c) ? 0 : t->lookup(c);
        length += code > 0xFF ? 2 : 1;
    }
    return static_cast<int>(length);
}

}  // namespace codepage
