#include "platform/forms/list_text.h"

#include "platform/codepage/cp932.h"

#include <algorithm>
#include <cstring>

#ifdef __SSE2__
#include <emmintrin.h>
#endif

namespace forms {

namespace {
constexpr size_t kBlockBytes = size_t(1) << 20;
constexpr char kSpaceRun = '\xFF';  // never a byte of UTF-8
constexpr size_t kShortestRun = 3;  // shorter runs stay as they are
constexpr size_t kShortestShare = 4;

// How many spaces `text` starts with, looking at `most` bytes at most; the
// long runs that pad a listing's columns are counted a word at a time.
size_t spacesAt(const char* text, size_t most) {
    constexpr uint64_t kSpaces = 0x2020202020202020u;
    size_t n = 0;
    for (uint64_t word; n + 8 <= most; n += 8) {
        std::memcpy(&word, text + n, 8);
        if (word != kSpaces) return n + static_cast<size_t>(__builtin_ctzll(word ^ kSpaces) / 8);
    }
    while (n < most && text[n] == ' ') ++n;
    return n;
}

// Where the first space in [at, length) is, or `length`: a word at a time,
// inline, as the spaces of a listing line are a few bytes apart.
size_t nextSpace(const char* text, size_t at, size_t length) {
    constexpr uint64_t kSpaces = 0x2020202020202020u, kOnes = 0x0101010101010101u;
    for (uint64_t word; at + 8 <= length; at += 8) {
        std::memcpy(&word, text + at, 8);
        const uint64_t x = word ^ kSpaces;  // a zero byte where a space is
        const uint64_t zero = (x - kOnes) & ~x & (kOnes << 7);
        if (zero) return at + static_cast<size_t>(__builtin_ctzll(zero) / 8);
    }
    while (at < length && text[at] != ' ') ++at;
    return at;
}

// Narrows a text to bytes at `out`; false (with `out` of no use) when it
// has a character beyond ASCII. Listing lines nearly always are ASCII, and
// eight characters at a time cost less than a general encoder's call.
bool narrowAscii(const char16_t* in, size_t n, char* out) {
    size_t i = 0;
    char16_t seen = 0;
#ifdef __SSE2__
    __m128i all = _mm_setzero_si128();
    for (; i + 8 <= n; i += 8) {
        const __m128i units = _mm_loadu_si128(reinterpret_cast<const __m128i*>(in + i));
        all = _mm_or_si128(all, units);
        _mm_storel_epi64(reinterpret_cast<__m128i*>(out + i), _mm_packus_epi16(units, units));
    }
    const __m128i beyond = _mm_and_si128(all, _mm_set1_epi16(static_cast<short>(0xFF80)));
    if (_mm_movemask_epi8(_mm_cmpeq_epi16(beyond, _mm_setzero_si128())) != 0xFFFF) return false;
#endif
    for (; i < n; ++i) {
        seen |= in[i];
        out[i] = static_cast<char>(in[i]);
    }
    return seen < 0x80;
}

// Packs runs of spaces in place; returns the packed length.
size_t packSpaces(char* text, size_t length) {
    size_t out = 0;
    for (size_t i = 0; i < length;) {
        const size_t end = nextSpace(text, i, length);
        if (out != i) std::memmove(text + out, text + i, end - i);
        out += end - i;
        i = end;
        const size_t run = spacesAt(text + i, std::min<size_t>(length - i, 255));
        if (run >= kShortestRun) {
            text[out++] = kSpaceRun;
            text[out++] = static_cast<char>(run);
        } else {
            for (size_t k = 0; k < run; ++k) text[out++] = ' ';
        }
        i += run;
    }
    return out;
}

// How many bytes two texts share at their start.
size_t sharedStart(const char* a, const char* b, size_t most) {
    size_t n = 0;
    for (uint64_t x, y; n + 8 <= most; n += 8) {
        std::memcpy(&x, a + n, 8);
        std::memcpy(&y, b + n, 8);
        if (x != y) return n + static_cast<size_t>(__builtin_ctzll(x ^ y) / 8);
    }
    while (n < most && a[n] == b[n]) ++n;
    return n;
}

// The text between packed runs is copied a stretch at a time.
QString unpackSpaces(const QByteArray& packed) {
    const char* at = packed.constData();
    const char* const end = at + packed.size();
    const auto nextRun = [&end](const char* from) {
        return static_cast<const char*>(std::memchr(from, kSpaceRun, size_t(end - from)));
    };
    const char* run = nextRun(at);
    if (!run) return QString::fromUtf8(packed);
    QByteArray out;
    out.reserve(packed.size() * 2);
    for (; run && run + 1 < end; run = nextRun(at)) {
        out.append(at, run - at);
        out.append(static_cast<qsizetype>(static_cast<unsigned char>(run[1])), ' ');
        at = run + 2;
    }
    out.append(at, end - at);
    return QString::fromUtf8(out);
}

size_t putLength(char* at, size_t n) {
    size_t k = 0;
    for (; n >= 0x80; n >>= 7) at[k++] = static_cast<char>((n & 0x7F) | 0x80);
    at[k++] = static_cast<char>(n);
    return k;
}

size_t lengthSize(size_t n) {
    size_t k = 1;
    for (; n >= 0x80; n >>= 7) ++k;
    return k;
}

size_t getLength(const char*& at) {
    size_t n = 0;
    for (int shift = 0;; shift += 7) {
        const auto byte = static_cast<unsigned char>(*at++);
        n |= size_t(byte & 0x7F) << shift;
        if (!(byte & 0x80)) return n;
    }
}

}  // namespace

void ListText::append(const QString& item) {
    // Room for the longest form the text can take: UTF-8 takes at most three
    // bytes for a UTF-16 unit.
    const size_t room = static_cast<size_t>(item.size()) * 3;
    if (blocks_.empty() || blocks_.back().size - blocks_.back().used < room) {
        Block block;
        block.size = std::max(kBlockBytes, room);
        block.text = std::make_unique_for_overwrite<char[]>(block.size);
        block.firstItem = count();
        blocks_.push_back(std::move(block));
    }
    Block& block = blocks_.back();
    char* const start = block.text.get() + block.used;
    size_t bytes = static_cast<size_t>(item.size());
    uint32_t at = static_cast<uint32_t>(block.used);
    if (narrowAscii(reinterpret_cast<const char16_t*>(item.utf16()), bytes, start)) {
        // An ASCII character is a byte of code page 932 too.
        widest_ = std::max(widest_, bytes);
    } else {
        encoder_.resetState();
        bytes = static_cast<size_t>(encoder_.appendToBuffer(start, item) - start);
        if (encoder_.hasError()) {
            bytes = static_cast<size_t>(item.size()) * sizeof(char16_t);
            std::memcpy(start, item.utf16(), bytes);
            at |= kUtf16Item;
            previous_.clear();
        }
        // A text has no more cells than bytes: most lines of a listing are
        // no wider than the widest so far, and are not counted.
        if (bytes > widest_)
            widest_ = std::max(widest_, static_cast<size_t>(codepage::cp932Length(item)));
    }
    if (!(at & kUtf16Item)) {
        bytes = packSpaces(start, bytes);
        const size_t shared =
            count() % kRestart == 0
                ? 0
                : sharedStart(start, previous_.data(), std::min(bytes, previous_.size()));
        previous_.assign(start, bytes);
        if (shared >= kShortestShare && lengthSize(shared) < shared) {
            const size_t head = lengthSize(shared);
            std::memmove(start + head, start + shared, bytes - shared);
            putLength(start, shared);
            bytes = head + bytes - shared;
            at |= kSharedItem;
        }
    }
    if ((count_ & kChunkMask) == 0)
        startChunks_.push_back(std::make_unique_for_overwrite<uint32_t[]>(kChunkItems));
    startChunks_.back()[count_ & kChunkMask] = at;
    ++count_;
    block.used += bytes;
    // A block made for one long item takes no other, so starts stay small.
    if (block.size > kBlockBytes) block.size = block.used;
}

size_t ListText::memoryUsed() const {
    size_t bytes = startChunks_.size() * kChunkItems * sizeof(uint32_t);
    for (const Block& b : blocks_) bytes += b.size;
    return bytes;
}

void ListText::clear() {
    std::vector<Block>().swap(blocks_);
    std::vector<std::unique_ptr<uint32_t[]>>().swap(startChunks_);
    count_ = 0;
    std::string().swap(previous_);
    rebuiltItem_ = -1;
    rebuilt_ = QByteArray();
    widest_ = 0;
}

const ListText::Block& ListText::blockOf(int i) const {
    const auto after =
        std::upper_bound(blocks_.begin(), blocks_.end(), i,
                         [](int item, const Block& b) { return item < b.firstItem; });
    return *(after - 1);
}

ListText::Stored ListText::stored(int i) const {
    const Block& block = blockOf(i);
    const size_t begin = start(i) & kOffset;
    const bool lastInBlock =
        &block == &blocks_.back() ? i + 1 == count() : (&block + 1)->firstItem == i + 1;
    const size_t end = lastInBlock ? block.used : start(i + 1) & kOffset;
    return {block.text.get() + begin, end - begin};
}

const QByteArray& ListText::packedText(int i) const {
    if (i == rebuiltItem_) return rebuilt_;
    // From the item before when it was the last rebuilt, else from the
    // nearest item kept whole.
    int from = i;
    if (i != rebuiltItem_ + 1)
        while (start(from) & kSharedItem) --from;
    for (int k = from; k <= i; ++k) {
        const Stored s = stored(k);
        if (!(start(k) & kSharedItem)) {
            rebuilt_ = QByteArray(s.text, static_cast<qsizetype>(s.size));
            continue;
        }
        const char* at = s.text;
        const size_t shared = getLength(at);
        rebuilt_.truncate(static_cast<qsizetype>(shared));
        rebuilt_.append(at, static_cast<qsizetype>(s.text + s.size - at));
    }
    rebuiltItem_ = i;
    return rebuilt_;
}

QString ListText::at(int i) const {
    if (i < 0 || i >= count()) return QString();
    if (!(start(i) & kUtf16Item)) return unpackSpaces(packedText(i));
    const Stored s = stored(i);
    QString out(static_cast<qsizetype>(s.size / sizeof(char16_t)), Qt::Uninitialized);
    std::memcpy(out.data(), s.text, s.size);
    return out;
}

}  // namespace forms
