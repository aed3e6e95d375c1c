#include "platform/forms/list_box.h"

#include <algorithm>

namespace forms {

void ListBox::addItem(const QString& item) {
    items_.push_back(item);
    selected_.push_back(0);
    if (appendsTold_) return;
    appendsTold_ = true;
    notify(Prop::ItemsAppended);
}

void ListBox::clear() {
    items_.clear();
    selected_.clear();
    // Give the memory back: a scan may have filled millions of rows.
    std::vector<QString>().swap(items_);
    std::vector<unsigned char>().swap(selected_);
    selectedCount_ = 0;
    top_ = 0;
    listIndex_ = -1;
    appendsTold_ = false;
    notify(Prop::ItemsReset);
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
