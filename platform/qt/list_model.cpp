#include "platform/qt/list_model.h"

#include <QTimer>

namespace qtbind {

ListBoxModel::ListBoxModel(forms::ListBox& box, QObject* parent)
    : QAbstractListModel(parent), box_(box), shown_(box.listCount()) {}

int ListBoxModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : shown_;
}

QVariant ListBoxModel::data(const QModelIndex& index, int role) const {
    if (role != Qt::DisplayRole || !index.isValid() || index.row() >= box_.listCount()) return {};
    return box_.list(index.row());
}

void ListBoxModel::itemsAppended() {
    if (scheduled_) return;
    scheduled_ = true;
    const qint64 since = sinceCatchUp_.isValid() ? sinceCatchUp_.elapsed() : kBatchMs;
    const int wait = since >= kBatchMs ? 0 : static_cast<int>(kBatchMs - since);
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
