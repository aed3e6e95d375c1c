#pragma once
// A list box: items appended at the end (kept in a ListText) or the rows of
// a source kept elsewhere, a selected state per item (extended multiple
// selection), the top visible row and the list index.

#include "platform/forms/control.h"
#include "platform/forms/list_text.h"
#include "platform/forms/row_source.h"

#include <memory>
#include <vector>

namespace forms {

class ListBox : public Control {
  public:
    using Control::Control;
    Kind kind() const override { return Kind::ListBox; }

    // Appends (not to a list that shows a row source); the observer hears of appends once until it
    // calls appendsShown(), so a long run of appends costs one notification.
    void addItem(const QString& item);
    void appendsShown() { appendsTold_ = false; }
    // Empties the list; a source it showed is let go.
    void clear();
    // Shows the rows of `rows` in place of items of its own (the list is
    // emptied first); rowsAppended() tells the observer that it grew.
    void showRows(std::shared_ptr<const RowSource> rows);
    void rowsAppended() { toldOfAppends(); }
    int listCount() const { return rows_ ? rows_->count() : text_.count(); }
    // Row i; none past the ends (a view may ask for a row of a list that
    // has just been emptied).
    QString list(int i) const {
        if (!rows_) return text_.at(i);
        return i >= 0 && i < rows_->count() ? rows_->at(i) : QString();
    }
    // The bytes the items and their states take, for benchmarks, with what
    // a row source keeps of its own.
    size_t memoryUsed() const;
    // The most display cells an item may take: for a character outside
    // ASCII and half-width katakana two are counted.
    size_t widestItem() const { return rows_ ? rows_->widest() : text_.widest(); }

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
    // Makes `columns` (this one among them, in order) the columns of one
    // table, as Side A's name, size and date are: one selection and one
    // current row for all, the first takes the keyboard for all, and a
    // screen reader reads row i of each as one row. Set on every column.
    void joinColumns(const std::vector<ListBox*>& columns) { columns_ = columns; }
    // The columns of its table; empty: this list alone.
    const std::vector<ListBox*>& rowColumns() const { return columns_; }
    // The control that heads it as a table's column (its caption).
    const Control* columnHeader = nullptr;

    // Written back by the view before it raises the event.
    void setSelectedFromUser(int i, bool on);
    void clearSelectionFromUser();
    void setTopIndexFromUser(int row) { top_ = row; }
    void setListIndexFromUser(int row);

  private:
    bool valid(int i) const { return i >= 0 && i < listCount(); }
    // This list's own flags; whether they changed.
    bool mark(int i, bool on);
    bool unmarkAll();
    // Runs `f` on every column of its table (on itself alone when none).
    template <typename F>
    void forEachColumn(F f) {
        if (columns_.empty()) return f(*this);
        for (ListBox* column : columns_) f(*column);
    }
    void toldOfAppends();

    ListText text_;
    std::shared_ptr<const RowSource> rows_;
    std::vector<unsigned char> selected_;
    int selectedCount_ = 0;
    int top_ = 0;
    int listIndex_ = -1;
    bool multiSelect_ = false;
    bool appendsTold_ = false;
    std::vector<ListBox*> columns_;
};

}  // namespace forms
