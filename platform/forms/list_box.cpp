#include "platform/forms/list_box.h"

#include <algorithm>
#include <cstring>

namespace forms {

namespace {
constexpr size_t kBlockBytes = size_t(1) << 20;
}

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

void ListBox::clear() {
    // Give the memory back: a scan may have filled millions of rows.
    std::vector<Block>().swap(blocks_);
    std::vector<uint32_t>().swap(starts_);
    std::vector<unsigned char>().swap(selected_);
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

QString ListBox::list(int i) const {
    if (!valid(i)) return QString();
    const Block& block = blockOf(i);
    const uint32_t at = starts_[static_cast<size_t>(i)];
    const size_t begin = at & ~kUtf16Item;
    const bool lastInBlock =
        &block == &blocks_.back() ? i + 1 == listCount() : (&block + 1)->firstItem == i + 1;
    const size_t end = lastInBlock ? block.used : starts_[static_cast<size_t>(i) + 1] & ~kUtf16Item;
    const char* text = block.text.get() + begin;
    const qsizetype bytes = static_cast<qsizetype>(end - begin);
    if (!(at & kUtf16Item)) return QString::fromUtf8(text, bytes);
    QString out(bytes / qsizetype(sizeof(char16_t)), Qt::Uninitialized);
    std::memcpy(out.data(), text, static_cast<size_t>(bytes));
    return out;
}

void ListBox::setSelectedFromUser(int i, bool on) {
    if (!valid(i)) return;
    unsigned char& flag = selected_[static_cast<size_t>(i)];
    if (static_cast<bool>(flag) == on) return;
    flag = on ? 1 : 0;
    selectedCount_ += on ? 1 : -1;
}

void ListBox::setSelected(int i, bool on) {
    if (!valid(i) || selected(i) == on) return;
    setSelectedFromUser(i, on);
    notify(Prop::Selection);
}

void ListBox::clearSelection() {
    if (selectedCount_ == 0) return;
    std::fill(selected_.begin(), selected_.end(), 0);
    selectedCount_ = 0;
    notify(Prop::Selection);
}

void ListBox::setTopIndex(int row) {
    row = std::clamp(row, 0, std::max(0, listCount() - 1));
    if (row == top_) return;
    top_ = row;
    notify(Prop::TopIndex);
}

}  // namespace forms
