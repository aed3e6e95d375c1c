#pragma once
// A list box: items appended at the end, a selected state per item
// (extended multiple selection), the top visible row and the list index.

#include "platform/forms/control.h"

#include <QString>
#include <QStringEncoder>

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
    int listCount() const { return static_cast<int>(starts_.size()); }
    QString list(int i) const;
    // The bytes the items and their states take, for benchmarks.
    size_t memoryUsed() const;
    // The most display cells an item may take: for a character outside
    // ASCII and half-width katakana two are counted.
    size_t widestItem() const { return widest_; }

    bool selected(int i) const { return valid(i) && selected_[static_cast<size_t>(i)]; }
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
    bool valid(int i) const { return i >= 0 && static_cast<size_t>(i) < starts_.size(); }

    // The items' text one after the other in blocks of a megabyte, so a
    // scan's million lines hold no string each and growing copies nothing.
    // Text is kept as UTF-8, half the room of UTF-16 for the mostly ASCII
    // lines of a listing; a text UTF-8 cannot hold (a lone surrogate) is
    // kept as its UTF-16 units. An item is only where it starts in its
    // block: it ends where the next one starts or where the block's text ends.
    // Two things keep a listing's text small: runs of spaces, which pad its
    // columns, are a byte UTF-8 never holds and the run's length; and an
    // item that begins as the one before it does (the lines of one folder
    // share its path) keeps only the length of what they share and the rest.
    // Every kRestart-th item is kept whole, so an item is rebuilt from at most
    // kRestart - 1 before it, and the last one rebuilt is kept, so items read
    // in order are rebuilt once each.
    struct Block {
        std::unique_ptr<char[]> text;
        size_t size = 0;
        size_t used = 0;
        int firstItem = 0;
    };
    static constexpr uint32_t kUtf16Item = 0x80000000u;   // set in a start
    static constexpr uint32_t kSharedItem = 0x40000000u;  // set in a start
    static constexpr uint32_t kOffset = 0x3FFFFFFFu;
    static constexpr int kRestart = 16;
    struct Stored {
        const char* text;
        size_t size;
    };
    Stored stored(int i) const;
    // The UTF-8 of item i with its spaces still packed.
    const QByteArray& packedText(int i) const;
    const Block& blockOf(int i) const;
    std::vector<Block> blocks_;
    std::vector<uint32_t> starts_;
    QStringEncoder encoder_{QStringEncoder::Utf8, QStringEncoder::Flag::Stateless};
    std::vector<unsigned char> selected_;
    int selectedCount_ = 0;
    size_t widest_ = 0;
    QByteArray previous_;  // the packed text of the last item added
    mutable int rebuiltItem_ = -1;
    mutable QByteArray rebuilt_;
    int top_ = 0;
    int listIndex_ = -1;
    bool multiSelect_ = false;
    bool appendsTold_ = false;
};

}  // namespace forms
