#include "platform/qt/list_model.h"

#include <QTimer>

#include <algorithm>

namespace qtbind {

ListBoxModel::ListBoxModel(forms::ListBox& box, QObject* parent)
    : QAbstractListModel(parent), box_(box), shown_(box.listCount()) {}

int ListBoxModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : shown_;
}

QModelIndex ListBoxModel::index(int row, int column, const QModelIndex& parent) const {
    if (row < 0 || row >= shown_ || column != 0 || parent.isValid()) return {};
    return createIndex(row, column);
}

QVariant ListBoxModel::data(const QModelIndex& index, int role) const {
    if (role != Qt::DisplayRole || !index.isValid() || index.row() >= box_.listCount()) return {};
    return box_.list(index.row());
}

void ListBoxModel::itemsAppended() {
    if (scheduled_) return;
    scheduled_ = true;
    // A view lays out all its rows again on each catch-up, so a long list
    // catches up less often: the layouts then cost a bounded share of the
    // time whatever the length.
    const qint64 batch = std::max<qint64>(kBatchMs, shown_ / kRowsPerMs);
    const qint64 since = sinceCatchUp_.isValid() ? sinceCatchUp_.elapsed() : batch;
    const int wait = since >= batch ? 0 : static_cast<int>(batch - since);
    QTimer::singleShot(wait, this, [this] { catchUp(); });
}

void ListBoxModel::itemsReset() {
    box_.appendsShown();
    beginResetModel();
    shown_ = box_.listCount();
    endResetModel();
}

void ListBoxModel::catchUp() {
    scheduled_ = false;
    sinceCatchUp_.start();
    box_.appendsShown();
    const int count = box_.listCount();
    if (count == shown_) return;
    if (count < shown_) return itemsReset();
    beginInsertRows(QModelIndex(), shown_, count - 1);
    shown_ = count;
    endInsertRows();
}

}  // namespace qtbind
