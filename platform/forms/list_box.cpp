#include "platform/forms/list_box.h"

#include <algorithm>

namespace forms {

void ListBox::addItem(const QString& item) {
    // A list that shows a row source takes its rows from there: an item of
    // its own would be shown by nothing.
    Q_ASSERT(!rows_);
    if (rows_) return;
    text_.append(item);
    toldOfAppends();
}

void ListBox::toldOfAppends() {
    if (appendsTold_) return;
    appendsTold_ = true;
    notify(Prop::ItemsAppended);
}

void ListBox::showRows(std::shared_ptr<const RowSource> rows) {
    clear();
    rows_ = std::move(rows);
    if (rows_->count() > 0) notify(Prop::ItemsReset);
}

size_t ListBox::memoryUsed() const {
    return text_.memoryUsed() + (rows_ ? rows_->memoryUsed() : 0) + selected_.capacity();
}

void ListBox::clear() {
    // Give the memory back: a scan may have filled millions of rows.
    text_.clear();
    rows_.reset();
    std::vector<unsigned char>().swap(selected_);
    selectedCount_ = 0;
    top_ = 0;
    listIndex_ = -1;
    appendsTold_ = false;
    notify(Prop::ItemsReset);
}

bool ListBox::mark(int i, bool on) {
    if (!valid(i) || selected(i) == on) return false;
    // The flags stand only as far as the last item selected: a scan's rows
    // take no room for a selection nobody made.
    if (size_t(i) >= selected_.size()) selected_.resize(size_t(listCount()));
    selected_[size_t(i)] = on ? 1 : 0;
    selectedCount_ += on ? 1 : -1;
    return true;
}

bool ListBox::unmarkAll() {
    if (selectedCount_ == 0) return false;
    std::fill(selected_.begin(), selected_.end(), 0);
    selectedCount_ = 0;
    return true;
}

void ListBox::setSelectedFromUser(int i, bool on) {
    forEachColumn([&](ListBox& l) { l.mark(i, on); });
}

void ListBox::clearSelectionFromUser() {
    forEachColumn([](ListBox& l) { l.unmarkAll(); });
}

void ListBox::setListIndexFromUser(int row) {
    forEachColumn([&](ListBox& l) { l.listIndex_ = row; });
}

ListBox::Run ListBox::firstSelectedRun() const {
    if (selectedCount_ == 0) return {};
    const auto begin = selected_.begin();
    const auto first = std::find(begin, selected_.end(), 1);
    const auto end = std::find(first, selected_.end(), 0);
    return {static_cast<int>(first - begin), static_cast<int>(end - begin)};
}

void ListBox::setSelected(int i, bool on) {
    forEachColumn([&](ListBox& l) {
        if (l.mark(i, on)) l.notify(Prop::Selection);
    });
}

void ListBox::clearSelection() {
    forEachColumn([](ListBox& l) {
        if (l.unmarkAll()) l.notify(Prop::Selection);
    });
}

void ListBox::setTopIndex(int row) {
    row = std::clamp(row, 0, std::max(0, listCount() - 1));
    if (row == top_) return;
    top_ = row;
    notify(Prop::TopIndex);
}

}  // namespace forms
