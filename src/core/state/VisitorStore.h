#pragma once

// The visitors browsing the websites of the scope in view (one agent, or all).
//
// Ordering rule: the last load started wins (a sequence number); an answer
// for a scope the operator has left is dropped. A failed load keeps the
// visitors shown and says why, until a load succeeds; at sign-out the list
// goes and every load on its way is dropped.

#include "RecordRoles.h"
#include "StoreContext.h"

#include <QObject>

namespace kv {

class VisitorStore : public QObject {
    Q_OBJECT

public:
    explicit VisitorStore(StoreContext context, QObject* parent = nullptr);

    // Loads the visitors of `projectID` (none: every agent's). `scope` says which scope the
    // operator is in: an answer that arrives after they left the scope of the start is dropped.
    QCoro::Task<> load(std::optional<QString> projectID,
                       std::function<std::optional<QString>()> scope,
                       std::optional<Cancellation> cancel = std::nullopt);

    const QList<Visitor>& visitors() const { return m_visitors->items(); }
    VisitorListModel* model() const { return m_visitors; }
    bool loading() const { return m_loading; }
    QString error() const { return m_error; }
    void clear();

signals:
    void visitorsChanged();
    void statusChanged(); // loading or error

private:
    void setStatus(bool loading, const QString& error);

    StoreContext m_context;
    VisitorListModel* m_visitors;
    LoadSequence m_sequence;
    bool m_loading = false;
    QString m_error;
};

} // namespace kv
