#pragma once

// A list of records for the screens that takes a whole new list at a time
// and applies it as the smallest set of row inserts, removes, moves and data
// changes, matched by each record's identity. An identical list changes
// nothing, so a periodic refresh leaves scroll position and selection alone.

#include <QAbstractListModel>
#include <QHash>
#include <QList>
#include <QSet>

#include <algorithm>
#include <functional>
#include <optional>
#include <utility>

namespace kv {

class RecordListModelBase : public QAbstractListModel {
    Q_OBJECT
    Q_PROPERTY(int count READ count NOTIFY countChanged)

public:
    using QAbstractListModel::QAbstractListModel;
    int count() const { return rowCount(); }
    // One row as a map of role name → value, for QML delegates outside views.
    Q_INVOKABLE QVariantMap get(int row) const;

signals:
    void countChanged();
};

// One field of a record as a model role.
template <typename T>
struct FieldRole {
    QByteArray name;
    QVariant (*get)(const T&);
};

template <typename T>
class RecordListModel final : public RecordListModelBase {
public:
    using KeyOf = QString (*)(const T&);

    RecordListModel(KeyOf key, QList<FieldRole<T>> roles, QObject* parent = nullptr)
        : RecordListModelBase(parent), m_key(key), m_roles(std::move(roles)) {}

    const QList<T>& items() const { return m_items; }

    // The record with this identity, if listed.
    std::optional<T> find(const QString& key) const {
        const qsizetype row = rowOf(key);
        return row < 0 ? std::nullopt : std::optional<T>(m_items[row]);
    }
    qsizetype rowOf(const QString& key) const {
        for (qsizetype i = 0; i < m_items.size(); ++i) {
            if (m_key(m_items[i]) == key)
                return i;
        }
        return -1;
    }
    // Changes the record with this identity in place (its identity must stay):
    // one row's data change, nothing when `edit` changes nothing or nothing is
    // listed under `key`. Returns whether the record changed.
    template <typename Edit>
    bool update(const QString& key, Edit&& edit) {
        const qsizetype row = rowOf(key);
        if (row < 0)
            return false;
        T changed = m_items.at(row);
        edit(changed);
        Q_ASSERT(m_key(changed) == key);
        if (changed == m_items.at(row))
            return false;
        m_items[row] = std::move(changed);
        const QModelIndex at = index(int(row));
        emit dataChanged(at, at);
        return true;
    }

    // Makes the model hold `next`; returns whether anything changed.
    bool apply(const QList<T>& next) {
        const qsizetype before = m_items.size();
        QSet<QString> nextKeys;
        nextKeys.reserve(next.size());
        for (const T& item : next)
            nextKeys.insert(m_key(item));
        if (nextKeys.size() != next.size()) {
            // Identities repeat: no row-by-row mapping exists, so start over.
            const bool changed = m_items != next;
            if (changed) {
                beginResetModel();
                m_items = next;
                endResetModel();
                emitCount(before);
            }
            return changed;
        }

        // Into an empty list: one insert of the whole list, shared, not copied row by row.
        if (m_items.isEmpty() && !next.isEmpty()) {
            beginInsertRows(QModelIndex(), 0, int(next.size() - 1));
            m_items = next;
            endInsertRows();
            emitCount(before);
            return true;
        }
        // Nothing to keep (another conversation's messages): one reset is far
        // cheaper than a row-by-row change.
        const bool disjoint = std::none_of(m_items.cbegin(), m_items.cend(), [&](const T& item) {
            return nextKeys.contains(m_key(item));
        });
        if (disjoint && !next.isEmpty()) {
            beginResetModel();
            m_items = next;
            endResetModel();
            emitCount(before);
            return true;
        }

        bool changed = false;
        // Rows that are gone, removed in runs from the end.
        for (qsizetype i = m_items.size() - 1; i >= 0; --i) {
            if (nextKeys.contains(m_key(m_items.at(i))))
                continue;
            qsizetype first = i;
            while (first > 0 && !nextKeys.contains(m_key(m_items.at(first - 1))))
                --first;
            beginRemoveRows(QModelIndex(), int(first), int(i));
            if (first == 0 && i == m_items.size() - 1)
                m_items.clear(); // all of it: let go, without copying a list others share
            else
                m_items.remove(first, i - first + 1);
            endRemoveRows();
            changed = true;
            i = first;
        }
        QSet<QString> present;
        present.reserve(m_items.size());
        for (const T& item : std::as_const(m_items))
            present.insert(m_key(item));
        // Then walk the new order: keep, move into place, or insert (new rows in runs).
        for (qsizetype i = 0; i < next.size(); ++i) {
            const QString key = m_key(next[i]);
            if (!present.contains(key)) {
                qsizetype end = i + 1;
                while (end < next.size() && !present.contains(m_key(next[end])))
                    ++end;
                beginInsertRows(QModelIndex(), int(i), int(end - 1));
                for (qsizetype j = i; j < end; ++j) {
                    m_items.insert(j, next[j]);
                    present.insert(m_key(next[j]));
                }
                endInsertRows();
                changed = true;
                i = end - 1;
                continue;
            }
            if (m_key(m_items.at(i)) != key) {
                qsizetype from = -1;
                for (qsizetype j = i + 1; j < m_items.size(); ++j) {
                    if (m_key(m_items.at(j)) == key) {
                        from = j;
                        break;
                    }
                }
                beginMoveRows(QModelIndex(), int(from), int(from), QModelIndex(), int(i));
                m_items.move(from, i);
                endMoveRows();
                changed = true;
            }
            if (!(m_items.at(i) == next.at(i))) {
                m_items[i] = next[i];
                const QModelIndex at = index(int(i));
                emit dataChanged(at, at);
                changed = true;
            }
        }
        emitCount(before);
        return changed;
    }

    int rowCount(const QModelIndex& parent = QModelIndex()) const override {
        return parent.isValid() ? 0 : int(m_items.size());
    }

    QVariant data(const QModelIndex& index, int role) const override {
        if (!checkIndex(index, CheckIndexOption::IndexIsValid | CheckIndexOption::ParentIsInvalid))
            return {};
        const qsizetype field = role - Qt::UserRole - 1;
        if (field < 0 || field >= m_roles.size())
            return {};
        return m_roles[field].get(m_items[index.row()]);
    }

    QHash<int, QByteArray> roleNames() const override {
        QHash<int, QByteArray> names;
        for (qsizetype i = 0; i < m_roles.size(); ++i)
            names.insert(Qt::UserRole + 1 + int(i), m_roles[i].name);
        return names;
    }

private:
    void emitCount(qsizetype before) {
        if (before != m_items.size())
            emit countChanged();
    }

    KeyOf m_key;
    QList<FieldRole<T>> m_roles;
    QList<T> m_items;
};

} // namespace kv
