#include "ReversedRows.h"

#include <utility>

namespace kv {

ReversedRows::ReversedRows(QObject* parent) : QAbstractProxyModel(parent) {}

void ReversedRows::setSourceModel(QAbstractItemModel* source) {
    beginResetModel();
    if (QAbstractItemModel* old = sourceModel())
        disconnect(old, nullptr, this, nullptr);
    QAbstractProxyModel::setSourceModel(source);
    if (source) {
        // Each change is mapped with the count the source has when it announces it.
        connect(source, &QAbstractItemModel::rowsAboutToBeInserted, this,
                [this](const QModelIndex& parent, int first, int last) {
                    if (parent.isValid())
                        return;
                    const int at = sourceCount() - first;
                    beginInsertRows(QModelIndex(), at, at + last - first);
                });
        connect(source, &QAbstractItemModel::rowsInserted, this, [this](const QModelIndex& parent) {
            if (!parent.isValid())
                endInsertRows();
        });
        connect(source, &QAbstractItemModel::rowsAboutToBeRemoved, this,
                [this](const QModelIndex& parent, int first, int last) {
                    if (parent.isValid())
                        return;
                    const int count = sourceCount();
                    beginRemoveRows(QModelIndex(), flipped(last, count), flipped(first, count));
                });
        connect(source, &QAbstractItemModel::rowsRemoved, this, [this](const QModelIndex& parent) {
            if (!parent.isValid())
                endRemoveRows();
        });
        connect(source, &QAbstractItemModel::rowsAboutToBeMoved, this,
                [this](const QModelIndex& from, int first, int last, const QModelIndex& to,
                       int destination) {
                    if (from.isValid() || to.isValid())
                        return;
                    const int count = sourceCount();
                    const int length = last - first + 1;
                    // Where the block starts once moved, in the source and here.
                    const int sourceStart =
                        destination < first ? destination : destination - length;
                    const int start = count - sourceStart - length;
                    const int now = flipped(last, count);
                    // A move's destination counts the rows before the move.
                    const int target = start < now ? start : start + length;
                    m_moving =
                        beginMoveRows(QModelIndex(), now, now + length - 1, QModelIndex(), target);
                });
        connect(source, &QAbstractItemModel::rowsMoved, this, [this] {
            if (std::exchange(m_moving, false))
                endMoveRows();
        });
        connect(source, &QAbstractItemModel::dataChanged, this,
                [this](const QModelIndex& topLeft, const QModelIndex& bottomRight,
                       const QList<int>& roles) {
                    if (topLeft.parent().isValid())
                        return;
                    const int count = sourceCount();
                    emit dataChanged(index(flipped(bottomRight.row(), count), topLeft.column()),
                                     index(flipped(topLeft.row(), count), bottomRight.column()),
                                     roles);
                });
        connect(source, &QAbstractItemModel::modelAboutToBeReset, this,
                &ReversedRows::beginResetModel);
        connect(source, &QAbstractItemModel::modelReset, this, &ReversedRows::endResetModel);
        connect(source, &QAbstractItemModel::layoutAboutToBeChanged, this,
                &ReversedRows::beginResetModel);
        connect(source, &QAbstractItemModel::layoutChanged, this, &ReversedRows::endResetModel);
        for (auto columns : {&QAbstractItemModel::columnsAboutToBeInserted,
                             &QAbstractItemModel::columnsAboutToBeRemoved}) {
            connect(source, columns, this, &ReversedRows::beginResetModel);
        }
        for (auto columns :
             {&QAbstractItemModel::columnsInserted, &QAbstractItemModel::columnsRemoved})
            connect(source, columns, this, &ReversedRows::endResetModel);
    }
    endResetModel();
}

int ReversedRows::sourceCount() const {
    return sourceModel() ? sourceModel()->rowCount() : 0;
}

QModelIndex ReversedRows::index(int row, int column, const QModelIndex& parent) const {
    return hasIndex(row, column, parent) ? createIndex(row, column) : QModelIndex();
}

QModelIndex ReversedRows::parent(const QModelIndex&) const {
    return {};
}

int ReversedRows::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : sourceCount();
}

int ReversedRows::columnCount(const QModelIndex& parent) const {
    return parent.isValid() || !sourceModel() ? 0 : sourceModel()->columnCount();
}

QModelIndex ReversedRows::mapToSource(const QModelIndex& proxyIndex) const {
    if (!proxyIndex.isValid() || !sourceModel())
        return {};
    return sourceModel()->index(flipped(proxyIndex.row(), sourceCount()), proxyIndex.column());
}

QModelIndex ReversedRows::mapFromSource(const QModelIndex& sourceIndex) const {
    if (!sourceIndex.isValid() || sourceIndex.parent().isValid())
        return {};
    return index(flipped(sourceIndex.row(), sourceCount()), sourceIndex.column());
}

} // namespace kv
