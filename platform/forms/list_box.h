#pragma once
// A list box: items appended at the end (kept in a ListText), a selected
// state per item (extended multiple selection), the top visible row and the
// list index.

#include "platform/forms/control.h"
#include "platform/forms/list_text.h"

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
    int listCount() const { return text_.count(); }
    QString list(int i) const { return text_.at(i); }
    // The bytes the items and their states take, for benchmarks.
    size_t memoryUsed() const;
    // The most display cells an item may take: for a character outside
    // ASCII and half-width katakana two are counted.
    size_t widestItem() const { return text_.widest(); }

    bool selected(int i) const {
        return i >= 0 && size_t(i) < selected_.size() && selected_[size_t(i)];
    }
    void setSelected(int i, bool on);
    void clearSelection();
    bool anySelected() const { return selectedCount_ > 0; }
    // The first run of selected items from the top, as [first, end); an
    // empty run at 0 when none is selected. The selection that is copied
    // and printed: a later run does not count.
    struct Run {
        int first = 0;
        int end = 0;
    };
    Run firstSelectedRun() const;

    int topIndex() const { return top_; }
    void setTopIndex(int row);
    int listIndex() const { return listIndex_; }

    bool multiSelect() const { return multiSelect_; }
    void setMultiSelect(bool v) { multiSelect_ = v; }
    // A list whose lines may be wider than it scrolls sideways; one that
    // shows columns beside other lists does not, so their rows stay level.
    bool scrollsSideways = true;
    // The lists whose row i a screen reader reads with this list's row i as
    // one row, in order, this one among them (Side A's name, size and date);
    // empty: this list alone.
    std::vector<const ListBox*> rowColumns;

    // Written back by the view before it raises the event.
    void setSelectedFromUser(int i, bool on);
    void clearSelectionFromUser();
    void setTopIndexFromUser(int row) { top_ = row; }
    void setListIndexFromUser(int row) { listIndex_ = row; }

  private:
    bool valid(int i) const { return i >= 0 && i < text_.count(); }

    ListText text_;
    std::vector<unsigned char> selected_;
    int selectedCount_ = 0;
    int top_ = 0;
    int listIndex_ = -1;
    bool multiSelect_ = false;
    bool appendsTold_ = false;
};

}  // namespace forms
