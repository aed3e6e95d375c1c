#include "platform/qt/list_view_accessible.h"

#include "platform/forms/list_box.h"
#include "platform/qt/list_view.h"

#include <QAccessible>
#include <QAccessibleWidget>
#include <QHash>
#include <QPointer>

#include <algorithm>

namespace qtbind {

namespace {

class ListViewAccessible;

// One row of a list, or one cell of a row read as a table's.
class RowAccessible : public QAccessibleInterface, public QAccessibleTableCellInterface {
  public:
    RowAccessible(ListBoxView* view, int row, int column)
        : view_(view), row_(row), column_(column) {}

    bool isValid() const override { return view_ && row_ < view_->rowCount(); }
    QObject* object() const override { return nullptr; }
    QWindow* window() const override { return view_ ? view_->window()->windowHandle() : nullptr; }
    QAccessibleInterface* parent() const override {
        return QAccessible::queryAccessibleInterface(view_.data());
    }
    QAccessibleInterface* child(int) const override { return nullptr; }
    int childCount() const override { return 0; }
    int indexOfChild(const QAccessibleInterface*) const override { return -1; }
    QAccessibleInterface* childAt(int, int) const override { return nullptr; }
    void setText(QAccessible::Text, const QString&) override {}
    QString text(QAccessible::Text t) const override;
    QRect rect() const override;
    QAccessible::Role role() const override;
    QAccessible::State state() const override;
    void* interface_cast(QAccessible::InterfaceType t) override {
        if (t == QAccessible::TableCellInterface)
            return static_cast<QAccessibleTableCellInterface*>(this);
        return nullptr;
    }

    bool isSelected() const override { return view_ && view_->box().selected(row_); }
    QList<QAccessibleInterface*> columnHeaderCells() const override;
    QList<QAccessibleInterface*> rowHeaderCells() const override { return {}; }
    int columnIndex() const override { return column_; }
    int rowIndex() const override { return row_; }
    int columnExtent() const override { return 1; }
    int rowExtent() const override { return 1; }
    QAccessibleInterface* table() const override { return parent(); }

  private:
    const forms::ListBox& columnBox() const;
    QPointer<ListBoxView> view_;
    int row_;
    int column_;
};

// The lists read as the columns of a view's rows.
std::vector<const forms::ListBox*> columnsOf(const ListBoxView& view) {
    const forms::ListBox& box = view.box();
    if (box.rowColumns().empty()) return {&box};
    return {box.rowColumns().begin(), box.rowColumns().end()};
}

// The header of column `column` of a view's table; null when it has none.
QAccessibleInterface* headerOf(const ListBoxView& view, int column) {
    const auto columns = columnsOf(view);
    if (column < 0 || column >= static_cast<int>(columns.size())) return nullptr;
    const ListBoxView* in = ListBoxView::of(*columns[static_cast<size_t>(column)]);
    return in && in->columnHeader ? QAccessible::queryAccessibleInterface(in->columnHeader)
                                  : nullptr;
}

const forms::ListBox& RowAccessible::columnBox() const {
    return *columnsOf(*view_)[static_cast<size_t>(column_)];
}

QString RowAccessible::text(QAccessible::Text t) const {
    if (t != QAccessible::Name || !isValid()) return {};
    const forms::ListBox& box = columnBox();
    return row_ < box.listCount() ? box.list(row_) : QString();
}

QList<QAccessibleInterface*> RowAccessible::columnHeaderCells() const {
    QAccessibleInterface* header = view_ ? headerOf(*view_, column_) : nullptr;
    if (!header) return {};
    return {header};
}

QRect RowAccessible::rect() const {
    if (!isValid()) return {};
    // A cell lies in the view of its own column.
    const ListBoxView* in = ListBoxView::of(columnBox());
    if (!in) in = view_;
    const QRect r = in->rowRect(row_);
    return {in->viewport()->mapToGlobal(r.topLeft()), r.size()};
}

QAccessible::Role RowAccessible::role() const {
    return view_ && columnsOf(*view_).size() > 1 ? QAccessible::Cell : QAccessible::ListItem;
}

QAccessible::State RowAccessible::state() const {
    QAccessible::State s;
    if (!isValid()) {
        s.invalid = true;
        return s;
    }
    const forms::ListBox& box = view_->box();
    s.selectable = true;
    s.multiSelectable = box.multiSelect();
    s.extSelectable = box.multiSelect();
    s.selected = box.selected(row_);
    s.focusable = true;
    s.focused = view_->hasFocus() && box.listIndex() == row_;
    s.disabled = !view_->isEnabled();
    const QRect shown = view_->rowRect(row_);
    s.invisible = !view_->viewport()->rect().intersects(shown);
    s.offscreen = s.invisible;
    return s;
}

// The view: a list of rows, or a table of rows read across several lists.
class ListViewAccessible : public QAccessibleWidget, public QAccessibleTableInterface {
  public:
    explicit ListViewAccessible(ListBoxView* view) : QAccessibleWidget(view, QAccessible::List) {}
    ~ListViewAccessible() override { forgetRows(); }

    QAccessible::Role role() const override {
        return columnCount() > 1 ? QAccessible::Table : QAccessible::List;
    }
    QAccessible::State state() const override {
        QAccessible::State s = QAccessibleWidget::state();
        s.multiSelectable = view()->box().multiSelect();
        return s;
    }
    int childCount() const override { return rowCount() * columnCount(); }
    QAccessibleInterface* child(int index) const override {
        if (index < 0 || index >= childCount()) return nullptr;
        return cellAt(index / columnCount(), index % columnCount());
    }
    int indexOfChild(const QAccessibleInterface* child) const override {
        auto* cell =
            child ? const_cast<QAccessibleInterface*>(child)->tableCellInterface() : nullptr;
        if (!cell || cell->table() != this) return -1;
        return cell->rowIndex() * columnCount() + cell->columnIndex();
    }
    QAccessibleInterface* childAt(int x, int y) const override {
        const int row = view()->rowAt(view()->viewport()->mapFromGlobal(QPoint(x, y)));
        return row < 0 ? nullptr : cellAt(row, ownColumn());
    }
    QAccessibleInterface* focusChild() const override {
        const int current = view()->box().listIndex();
        if (!view()->hasFocus() || current < 0 || current >= rowCount()) return nullptr;
        return cellAt(current, ownColumn());
    }
    void* interface_cast(QAccessible::InterfaceType t) override {
        if (t == QAccessible::TableInterface) return static_cast<QAccessibleTableInterface*>(this);
        return QAccessibleWidget::interface_cast(t);
    }

    QAccessibleInterface* caption() const override { return nullptr; }
    QAccessibleInterface* summary() const override { return nullptr; }
    QAccessibleInterface* cellAt(int row, int column) const override;
    int selectedCellCount() const override { return selectedRowCount() * columnCount(); }
    QList<QAccessibleInterface*> selectedCells() const override;
    QString columnDescription(int column) const override {
        QAccessibleInterface* header = headerOf(*view(), column);
        return header ? header->text(QAccessible::Name) : QString();
    }
    QString rowDescription(int) const override { return {}; }
    int selectedColumnCount() const override { return 0; }
    int selectedRowCount() const override { return static_cast<int>(selectedRows().size()); }
    int columnCount() const override { return static_cast<int>(columnsOf(*view()).size()); }
    int rowCount() const override { return view()->rowCount(); }
    QList<int> selectedColumns() const override { return {}; }
    QList<int> selectedRows() const override;
    bool isColumnSelected(int) const override { return false; }
    bool isRowSelected(int row) const override { return view()->box().selected(row); }
    // The selection is the user's, made with the mouse and the keyboard.
    bool selectRow(int) override { return false; }
    bool selectColumn(int) override { return false; }
    bool unselectRow(int) override { return false; }
    bool unselectColumn(int) override { return false; }
    void modelChange(QAccessibleTableModelChangeEvent* event) override {
        if (event->modelChangeType() != QAccessibleTableModelChangeEvent::RowsInserted)
            forgetRows();
    }

    // Tells of a new current row, the selection and the focus.
    void cursorMoved();

  private:
    ListBoxView* view() const { return static_cast<ListBoxView*>(widget()); }
    int ownColumn() const {
        const auto columns = columnsOf(*view());
        const auto at = std::find(columns.begin(), columns.end(), &view()->box());
        return at == columns.end() ? 0 : static_cast<int>(at - columns.begin());
    }
    void forgetRows() {
        for (QAccessible::Id id : std::as_const(cells_)) QAccessible::deleteAccessibleInterface(id);
        cells_.clear();
        told_ = -1;
    }

    mutable QHash<qint64, QAccessible::Id> cells_;  // the rows asked for, by row and column
    int told_ = -1;                                 // the focused row last told
};

QAccessibleInterface* ListViewAccessible::cellAt(int row, int column) const {
    if (row < 0 || row >= rowCount() || column < 0 || column >= columnCount()) return nullptr;
    const qint64 key = qint64(row) * columnCount() + column;
    if (const auto it = cells_.constFind(key); it != cells_.constEnd())
        return QAccessible::accessibleInterface(*it);
    auto* cell = new RowAccessible(view(), row, column);
    cells_.insert(key, QAccessible::registerAccessibleInterface(cell));
    return cell;
}

QList<int> ListViewAccessible::selectedRows() const {
    QList<int> rows;
    const forms::ListBox& box = view()->box();
    if (!box.anySelected()) return rows;
    for (int i = 0; i < rowCount(); ++i)
        if (box.selected(i)) rows.append(i);
    return rows;
}

QList<QAccessibleInterface*> ListViewAccessible::selectedCells() const {
    QList<QAccessibleInterface*> cells;
    for (int row : selectedRows())
        for (int c = 0; c < columnCount(); ++c) cells.append(cellAt(row, c));
    return cells;
}

void ListViewAccessible::cursorMoved() {
    QAccessibleEvent selection(view(), QAccessible::SelectionWithin);
    QAccessible::updateAccessibility(&selection);
    const int current = view()->box().listIndex();
    const int focused = view()->hasFocus() && current >= 0 && current < rowCount() ? current : -1;
    if (focused == told_) return;
    told_ = focused;
    if (focused < 0) return;
    // The row under the keyboard is the one a screen reader reads.
    QAccessibleEvent focus(view(), QAccessible::Focus);
    focus.setChild(focused * columnCount() + ownColumn());
    QAccessible::updateAccessibility(&focus);
}

ListViewAccessible* accessibleOf(ListBoxView* view) {
    if (!QAccessible::isActive()) return nullptr;
    return dynamic_cast<ListViewAccessible*>(QAccessible::queryAccessibleInterface(view));
}

}  // namespace

void accessibleRowsAdded(ListBoxView* view, int first, int last) {
    if (!QAccessible::isActive() || first > last) return;
    QAccessibleTableModelChangeEvent added(view, QAccessibleTableModelChangeEvent::RowsInserted);
    added.setFirstRow(first);
    added.setLastRow(last);
    QAccessible::updateAccessibility(&added);
}

void accessibleRowsReset(ListBoxView* view) {
    if (!QAccessible::isActive()) return;
    QAccessibleTableModelChangeEvent reset(view, QAccessibleTableModelChangeEvent::ModelReset);
    QAccessible::updateAccessibility(&reset);
}

void accessibleCursorMoved(ListBoxView* view) {
    if (ListViewAccessible* a = accessibleOf(view)) a->cursorMoved();
}

QAccessibleInterface* listViewAccessible(ListBoxView* view) {
    // A table's other columns are read in it, not on their own.
    if (view->tableView() != view) return new QAccessibleWidget(view, QAccessible::Client);
    return new ListViewAccessible(view);
}

bool readInAnotherView(QObject* o) {
    auto* view = dynamic_cast<ListBoxView*>(o);
    return view && view->tableView() != view;
}

}  // namespace qtbind
