#pragma once
// A Qt item model over a list box's items. Appends are shown in batches:
// the row count catches up with the items when the event queue runs, at
// most every kBatchMs while appends keep coming (longer for long lists, a
// millisecond per kRowsPerMs rows), so a scan that appends hundreds of
// thousands of lines repaints its views a few times a second.

#include "platform/forms/list_box.h"

#include <QAbstractListModel>
#include <QElapsedTimer>

namespace qtbind {

class ListBoxModel : public QAbstractListModel {
  public:
    explicit ListBoxModel(forms::ListBox& box, QObject* parent = nullptr);

    int rowCount(const QModelIndex& parent = QModelIndex()) const override;
    // Without the virtual calls of the default: a view asks for every row's
    // index each time it lays out a long list.
    QModelIndex index(int row, int column = 0,
                      const QModelIndex& parent = QModelIndex()) const override;
    QVariant data(const QModelIndex& index, int role) const override;

    // Called for ItemsAppended: schedules one catch-up for many appends.
    void itemsAppended();
    // Called for ItemsReset: the rows are reset now.
    void itemsReset();
    // Shows every item appended so far.
    void catchUp();

    static constexpr int kBatchMs = 100;
    static constexpr int kRowsPerMs = 200;

  private:
    forms::ListBox& box_;
    QElapsedTimer sinceCatchUp_;
    int shown_ = 0;
    bool scheduled_ = false;
};

}  // namespace qtbind
