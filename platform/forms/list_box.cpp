#include "platform/forms/list_box.h"

#include <algorithm>
#include <cstring>

namespace forms {

namespace {
constexpr size_t kBlockBytes = size_t(1) << 20;
constexpr char kSpaceRun = '\xFF';  // never a byte of UTF-8
constexpr size_t kShortestRun = 3;  // shorter runs stay as they are
constexpr size_t kShortestShare = 4;

// The display cells of UTF-8 text without spaces, at least as many as it
// shows: two for every character of two or three bytes but half-width
// katakana, one for any other.
size_t cellsOf(const char* text, size_t length) {
    size_t i = 0;
    // ASCII, a word at a time: one cell a byte.
    for (uint64_t word; i + 8 <= length; i += 8) {
        std::memcpy(&word, text + i, 8);
        if (word & 0x8080808080808080u) break;
    }
    size_t cells = i;
    for (; i < length; ++i) {
        const auto byte = static_cast<unsigned char>(text[i]);
        if ((byte & 0xC0) != 0x80) ++cells;
        const bool halfWidthKana =
            byte == 0xEF && i + 2 < length &&
            ((text[i + 1] == '\xBD' && static_cast<unsigned char>(text[i + 2]) >= 0xA1) ||
             (text[i + 1] == '\xBE' && static_cast<unsigned char>(text[i + 2]) <= 0x9F));
        if (byte >= 0xC0 && byte < 0xF0 && !halfWidthKana) ++cells;
    }
    return cells;
}

// Packs runs of spaces in place; returns the packed length. `cells` gets the
// display cells of the text.
size_t packSpaces(char* text, size_t length, size_t& cells) {
    size_t out = 0;
    cells = 0;
    for (size_t i = 0; i < length;) {
        const void* space = std::memchr(text + i, ' ', length - i);
        const size_t end =
            space ? static_cast<size_t>(static_cast<const char*>(space) - text) : length;
        cells += cellsOf(text + i, end - i);
        if (out != i) std::memmove(text + out, text + i, end - i);
        out += end - i;
        i = end;
        size_t run = 0;
        while (i + run < length && text[i + run] == ' ' && run < 255) ++run;
        cells += run;
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

QString unpackSpaces(const QByteArray& packed) {
    if (!packed.contains(kSpaceRun)) return QString::fromUtf8(packed);
    QByteArray out;
    out.reserve(packed.size() * 2);
    for (qsizetype i = 0; i < packed.size(); ++i) {
        if (packed[i] == kSpaceRun && i + 1 < packed.size())
            out.append(static_cast<qsizetype>(static_cast<unsigned char>(packed[++i])), ' ');
        else
            out.append(packed[i]);
    }
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

void ListBox::addItem(const QString& item) {
    // Room for the longest form the text can take.
    const size_t room = static_cast<size_t>(
        std::max(encoder_.requiredSpace(item.size()), item.size() * qsizetype(sizeof(char16_t))));
    if (blocks_.empty() || blocks_.back().size - blocks_.back().used < room) {
        Block block;
        block.size = std::max(kBlockBytes, room);
        block.text = std::make_unique_for_overwrite<char[]>(block.size);
        block.firstItem = listCount();
        blocks_.push_back(std::move(block));
    }
    Block& block = blocks_.back();
    char* const start = block.text.get() + block.used;
    encoder_.resetState();
    size_t bytes = static_cast<size_t>(encoder_.appendToBuffer(start, item) - start);
    uint32_t at = static_cast<uint32_t>(block.used);
    if (encoder_.hasError()) {
        bytes = static_cast<size_t>(item.size()) * sizeof(char16_t);
        std::memcpy(start, item.utf16(), bytes);
        at |= kUtf16Item;
        widest_ = std::max(widest_, bytes);  // two cells a unit at most
        previous_.clear();
    } else {
        size_t cells = 0;
        bytes = packSpaces(start, bytes, cells);
        widest_ = std::max(widest_, cells);
        const size_t shared =
            listCount() % kRestart == 0
                ? 0
                : sharedStart(start, previous_.constData(),
                              std::min(bytes, static_cast<size_t>(previous_.size())));
        previous_.resize(static_cast<qsizetype>(bytes));
        std::memcpy(previous_.data(), start, bytes);
        if (shared >= kShortestShare && lengthSize(shared) < shared) {
            const size_t head = lengthSize(shared);
            std::memmove(start + head, start + shared, bytes - shared);
            putLength(start, shared);
            bytes = head + bytes - shared;
            at |= kSharedItem;
        }
    }
    starts_.push_back(at);
    block.used += bytes;
    // A block made for one long item takes no other, so starts stay small.
    if (block.size > kBlockBytes) block.size = block.used;
    selected_.push_back(0);
    if (appendsTold_) return;
    appendsTold_ = true;
    notify(Prop::ItemsAppended);
}

size_t ListBox::memoryUsed() const {
    size_t bytes = starts_.capacity() * sizeof(uint32_t) + selected_.capacity();
    for (const Block& b : blocks_) bytes += b.size;
    return bytes;
}

void ListBox::clear() {
    // Give the memory back: a scan may have filled millions of rows.
    std::vector<Block>().swap(blocks_);
    std::vector<uint32_t>().swap(starts_);
    std::vector<unsigned char>().swap(selected_);
    previous_ = QByteArray();
    rebuiltItem_ = -1;
    rebuilt_ = QByteArray();
    widest_ = 0;
    selectedCount_ = 0;
    top_ = 0;
    listIndex_ = -1;
    appendsTold_ = false;
    notify(Prop::ItemsReset);
}

const ListBox::Block& ListBox::blockOf(int i) const {
    const auto after =
        std::upper_bound(blocks_.begin(), blocks_.end(), i,
                         [](int item, const Block& b) { return item < b.firstItem; });
    return *(after - 1);
}

ListBox::Stored ListBox::stored(int i) const {
    const Block& block = blockOf(i);
    const size_t begin = starts_[static_cast<size_t>(i)] & kOffset;
    const bool lastInBlock =
        &block == &blocks_.back() ? i + 1 == listCount() : (&block + 1)->firstItem == i + 1;
    const size_t end = lastInBlock ? block.used : starts_[static_cast<size_t>(i) + 1] & kOffset;
    return {block.text.get() + begin, end - begin};
}

const QByteArray& ListBox::packedText(int i) const {
    if (i == rebuiltItem_) return rebuilt_;
    // From the item before when it was the last rebuilt, else from the
    // nearest item kept whole.
    int from = i;
    if (i != rebuiltItem_ + 1)
        while (starts_[static_cast<size_t>(from)] & kSharedItem) --from;
    for (int k = from; k <= i; ++k) {
        const Stored s = stored(k);
        if (!(starts_[static_cast<size_t>(k)] & kSharedItem)) {
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

QString ListBox::list(int i) const {
    if (!valid(i)) return QString();
    if (!(starts_[static_cast<size_t>(i)] & kUtf16Item)) return unpackSpaces(packedText(i));
    const Stored s = stored(i);
    QString out(static_cast<qsizetype>(s.size / sizeof(char16_t)), Qt::Uninitialized);
    std::memcpy(out.data(), s.text, s.size);
    return out;
}

void ListBox::setSelectedFromUser(int i, bool on) {
    if (!valid(i)) return;
    unsigned char& flag = selected_[static_cast<size_t>(i)];
    if (static_cast<bool>(flag) == on) return;
    flag = on ? 1 : 0;
    selectedCount_ += on ? 1 : -1;
}

void ListBox::clearSelectionFromUser() {
    if (selectedCount_ == 0) return;
    std::fill(selected_.begin(), selected_.end(), 0);
    selectedCount_ = 0;
}

void ListBox::setSelected(int i, bool on) {
    if (!valid(i) || selected(i) == on) return;
    setSelectedFromUser(i, on);
    notify(Prop::Selection);
}

void ListBox::clearSelection() {
    if (selectedCount_ == 0) return;
    clearSelectionFromUser();
    notify(Prop::Selection);
}

void ListBox::setTopIndex(int row) {
    row = std::clamp(row, 0, std::max(0, listCount() - 1));
    if (row == top_) return;
    top_ = row;
    notify(Prop::TopIndex);
}

}  // namespace forms
