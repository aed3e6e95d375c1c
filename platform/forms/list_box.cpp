#include "platform/forms/list_box.h"

#include <algorithm>

namespace forms {

namespace {
constexpr size_t kBlockChars = size_t(1) << 20;
}

void ListBox::addItem(const QString& item) {
    const size_t length = static_cast<size_t>(item.size());
    if (blocks_.empty() || blockSize_ - blockUsed_ < length) {
        blockSize_ = std::max(kBlockChars, length);
        blocks_.push_back(std::make_unique_for_overwrite<char16_t[]>(blockSize_));
        blockUsed_ = 0;
    }
    std::copy_n(item.utf16(), length, blocks_.back().get() + blockUsed_);
    items_.push_back({static_cast<uint32_t>(blocks_.size() - 1), static_cast<uint32_t>(blockUsed_),
                      static_cast<uint32_t>(length)});
    blockUsed_ += length;
    selected_.push_back(0);
    if (appendsTold_) return;
    appendsTold_ = true;
    notify(Prop::ItemsAppended);
}

void ListBox::clear() {
    // Give the memory back: a scan may have filled millions of rows.
    std::vector<std::unique_ptr<char16_t[]>>().swap(blocks_);
    std::vector<Item>().swap(items_);
    blockUsed_ = blockSize_ = 0;
    std::vector<unsigned char>().swap(selected_);
    selectedCount_ = 0;
    top_ = 0;
    listIndex_ = -1;
    appendsTold_ = false;
    notify(Prop::ItemsReset);
}

QString ListBox::list(int i) const {
    if (!valid(i)) return QString();
    const Item& item = items_[static_cast<size_t>(i)];
    return QString(reinterpret_cast<const QChar*>(blocks_[item.block].get() + item.offset),
                   static_cast<qsizetype>(item.length));
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

void ListBox::setListIndex(int row) {
    if (row == listIndex_) return;
    listIndex_ = row;
    notify(Prop::ListIndex);
}

}  // namespace forms
