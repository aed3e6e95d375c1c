#pragma once
// A list box: items appended at the end, a selected state per item
// (extended multiple selection), the top visible row and the list index.

#include "platform/forms/control.h"

#include <QString>

#include <cstdint>
#include <memory>
#include <vector>

namespace forms {

class ListBox : public Control {
  public:
    using Control::Control;
    Kind kind() const override { return Kind::ListBox; }

    // Appends; the observer hears of appends once until it calls
    // appendsShown(), so a long run of appends costs one notification.
    void addItem(const QString& item);
    void appendsShown() { appendsTold_ = false; }
    void clear();
    int listCount() const { return static_cast<int>(items_.size()); }
    QString list(int i) const;

    bool selected(int i) const { return valid(i) && selected_[static_cast<size_t>(i)]; }
    void setSelected(int i, bool on);
    void clearSelection();
    bool anySelected() const { return selectedCount_ > 0; }

    int topIndex() const { return top_; }
    void setTopIndex(int row);
    int listIndex() const { return listIndex_; }
    void setListIndex(int row);

    bool multiSelect() const { return multiSelect_; }
    void setMultiSelect(bool v) { multiSelect_ = v; }

    // Written back by the view before it raises the event.
    void setSelectedFromUser(int i, bool on);
    void setTopIndexFromUser(int row) { top_ = row; }
    void setListIndexFromUser(int row) { listIndex_ = row; }

  private:
    bool valid(int i) const { return i >= 0 && static_cast<size_t>(i) < items_.size(); }

    // The items' text one after the other in blocks of a megachar, so a
    // scan's million lines hold no string each and growing copies nothing.
    struct Item {
        uint32_t block;
        uint32_t offset;
        uint32_t length;
    };
    std::vector<std::unique_ptr<char16_t[]>> blocks_;
    size_t blockUsed_ = 0;
    size_t blockSize_ = 0;
    std::vector<Item> items_;
    std::vector<unsigned char> selected_;
    int selectedCount_ = 0;
    int top_ = 0;
    int listIndex_ = -1;
    bool multiSelect_ = false;
    bool appendsTold_ = false;
};

}  // namespace forms
