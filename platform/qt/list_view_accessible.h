#pragma once
// A list view as a screen reader sees it: a list (or a table, for lists
// joined as one table's columns: Side A's name, size and date, with their
// column headers) whose rows are answered
// one at a time from the list boxes' storage. Only the rows a screen reader
// asks for get an object, kept until the rows are reset, so a listing of a
// million lines costs nothing more than the few rows read.
//
// The view calls the hooks below; each returns at once while no screen
// reader listens.

class QAccessibleInterface;
class QObject;

namespace forms {
class ListBox;
}

namespace qtbind {

class ListBoxView;

// Rows first..last were appended and are shown now.
void accessibleRowsAdded(ListBoxView* view, int first, int last);
// The rows were cleared or replaced.
void accessibleRowsReset(ListBoxView* view);
// The current row, the selection or the focus changed.
void accessibleCursorMoved(ListBoxView* view);

// The interface of a view, for Qt's accessibility factory.
QAccessibleInterface* listViewAccessible(ListBoxView* view);

// A view of a table's column other than its first, whose rows are read in
// the first's: a screen reader is not shown it beside the table.
bool readInAnotherView(QObject* o);

}  // namespace qtbind
