#pragma once

// A flat list model shown last row first, kept in step with its source row
// by row: an insert, a removal, a move or a change of the source is the same
// change here, never a reset. A list laid out from the bottom up
// (`ListView.BottomToTop`) over this shows the source's last row at the
// bottom and makes it first, so a long thread opens at its newest message
// without first making the rows at its top.
//
// Rows only: the source is a one-level list; a change of its layout is
// passed on as a reset.

#include <QAbstractProxyModel>

namespace kv {

class ReversedRows : public QAbstractProxyModel {
    Q_OBJECT

public:
    explicit ReversedRows(QObject* parent = nullptr);

    void setSourceModel(QAbstractItemModel* source) override;

    QModelIndex index(int row, int column,
                      const QModelIndex& parent = QModelIndex()) const override;
    QModelIndex parent(const QModelIndex& child) const override;
    int rowCount(const QModelIndex& parent = QModelIndex()) const override;
    int columnCount(const QModelIndex& parent = QModelIndex()) const override;
    QModelIndex mapToSource(const QModelIndex& proxyIndex) const override;
    QModelIndex mapFromSource(const QModelIndex& sourceIndex) const override;

private:
    // The row on the other side for `row`, among `count` rows.
    static int flipped(int row, int count) { return count - 1 - row; }
    int sourceCount() const;

    bool m_moving = false; // a source move is being passed on
};

} // namespace kv
