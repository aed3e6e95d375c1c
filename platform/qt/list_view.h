#pragma once
// The view of a list box: it draws the rows it shows straight from the
// box's storage, every row the same height, so showing more appended rows
// costs the same whatever the length of the list. Text is laid on a grid of
// half-width cells, two for a character that is double-width in code page
// 932 and one for any other, as the listing counts them, so columns line up
// on screen whatever the names hold; a glyph wider than its cells is
// narrowed to fit. Appends are shown in batches, at most every kBatchMs
// while they keep coming. Selection, the top row and the current row live
// in the box; the view writes what the user does back into it. The views
// of lists joined as one table's columns (forms::ListBox::joinColumns)
// scroll as one and show their one selection and current row level.

#include "platform/forms/list_box.h"

#include <QAbstractScrollArea>
#include <QElapsedTimer>
#include <QHash>
#include <QPointer>

#include <functional>
#include <vector>

class QPainter;

namespace qtbind {

class ListBoxView : public QAbstractScrollArea {
  public:
    explicit ListBoxView(forms::ListBox& box, QWidget* parent = nullptr);
    ~ListBoxView() override;

    // The view of a box; null when it has none.
    static ListBoxView* of(const forms::ListBox& box);
    // The view that stands for the table the box is a column of: its first
    // column's (this one when it is in no table).
    ListBoxView* tableView() const;

    // A click on a row, told after the box holds the selection it made.
    std::function<void()> clicked;

    // Called for ItemsAppended: schedules one catch-up for many appends.
    void itemsAppended();
    // Called for ItemsReset: the rows are reset now.
    void itemsReset();
    // Shows every item appended so far.
    void catchUp();
    // The box's selection or current row changed by the program.
    void showSelection();
    void setTopRow(int row);

    forms::ListBox& box() const { return box_; }
    // The widget that heads it as a table's column, for screen readers.
    QPointer<QWidget> columnHeader;
    int rowCount() const { return shown_; }
    // Where a row is in the viewport, and the row at a point (-1: none).
    QRect rowRect(int row) const;
    int rowAt(QPoint at) const;

    static constexpr int kBatchMs = 100;

  protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void changeEvent(QEvent* event) override;
    void scrollContentsBy(int dx, int dy) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void focusInEvent(QFocusEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;

  private:
    void measureFont();
    void updateScrollBars();
    int fullRowsShown() const;
    void ensureVisible(int row);
    // The views of the other columns of its table.
    std::vector<ListBoxView*> partners() const;
    // Where Shift extends a selection from, in every column alike.
    void setAnchor(int row);
    // Selects only `row`, the rows from the anchor to it, or toggles it.
    void selectOnly(int row);
    void selectRange(int from, int to);
    void toggle(int row);
    void moveCurrent(int row, Qt::KeyboardModifiers modifiers);
    int cellsOf(char32_t ch);
    int advanceOf(char32_t ch, QStringView text);
    void drawRow(QPainter& p, QStringView text, int x, int baseline, int right);

    forms::ListBox& box_;
    QElapsedTimer sinceCatchUp_;
    int shown_ = 0;
    bool scheduled_ = false;
    int anchor_ = -1;
    int pressed_ = -1;
    int rowHeight_ = 1;
    int cellWidth_ = 1;
    int ascent_ = 0;
    QHash<char32_t, int> cells_;     // cells of a character, by code page 932
    QHash<char32_t, int> advances_;  // the font's advance of a character
};

}  // namespace qtbind
