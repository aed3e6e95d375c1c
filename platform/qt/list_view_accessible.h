#pragma once
// A list view as a screen reader sees it: a list (or a table, for lists
// read as one row: Side A's name, size and date) whose rows are answered
// one at a time from the list boxes' storage. Only the rows a screen reader
// asks for get an object, kept until the rows are reset, so a listing of a
// million lines costs nothing more than the few rows read.
//
// The view calls the hooks below; each returns at once while no screen
// reader listens.

class QAccessibleInterface;

namespace forms {
class ListBox;
}

namespace qtbind {

class ListBoxView;

// The view of a box, for the rows read with another list's (see
// forms::ListBox::rowColumns); set by the window that makes the view.
void registerListView(const forms::ListBox& box, ListBoxView* view);

// Rows first..last were appended and are shown now.
void accessibleRowsAdded(ListBoxView* view, int first, int last);
// The rows were cleared or replaced.
void accessibleRowsReset(ListBoxView* view);
// The current row, the selection or the focus changed.
void accessibleCursorMoved(ListBoxView* view);

// The interface of a view, for Qt's accessibility factory.
QAccessibleInterface* listViewAccessible(ListBoxView* view);

}  // namespace qtbind
