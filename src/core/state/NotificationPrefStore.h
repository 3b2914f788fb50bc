#pragma once

// The per-agent notification preferences the service keeps (muted agents).
//
// Ordering rule: a mute switch flips at once and is sent; the service's
// answer then stands, and on a failure the service's list is loaded again
// (the last load started wins). At sign-out the list goes and every load on
// its way is dropped.

#include "RecordRoles.h"
#include "StoreContext.h"

#include <QObject>

namespace kv {

class NotificationPrefStore : public QObject {
    Q_OBJECT

public:
    explicit NotificationPrefStore(StoreContext context, QObject* parent = nullptr);

    QCoro::Task<> load();
    // Says whether the service took the change, and why not.
    QCoro::Task<ApiResult<void>> setMuted(QString projectID, bool muted);
    bool isMuted(const QString& projectID) const;
    // Records an agent's mute here, as the switch shows it before the service answers.
    void upsert(const QString& projectID, bool muted);
    const QList<NotificationPref>& prefs() const { return m_prefs->items(); }
    NotificationPrefListModel* model() const { return m_prefs; }
    void clear();

signals:
    void changed();

private:
    void apply(const QList<NotificationPref>& list);

    StoreContext m_context;
    NotificationPrefListModel* m_prefs;
    LoadSequence m_sequence;
};

} // namespace kv
