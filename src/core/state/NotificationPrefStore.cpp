#include "NotificationPrefStore.h"

#include "Log.h"
#include "Session.h"

#include <QPointer>

namespace kv {

NotificationPrefStore::NotificationPrefStore(StoreContext context, QObject* parent)
    : QObject(parent), m_context(std::move(context)), m_prefs(newNotificationPrefModel(this)) {}

QCoro::Task<> NotificationPrefStore::load() {
    QPointer guard(this);
    if (!m_context.session->signedIn())
        co_return;
    const Cancellation cancel = m_context.session->token();
    const quint64 ticket = m_sequence.start();
    auto prefs = co_await m_context.repository().fetchNotificationPrefs(cancel);
    if (!guard || cancel.isCancelled() || !m_sequence.isLatest(ticket))
        co_return;
    if (prefs) {
        apply(prefs.value());
    } else if (!m_context.signedOutBy(prefs.error())) {
        qCWarning(lcAppState).noquote() << QStringLiteral("loadNotificationPrefs failed: %1")
                                               .arg(prefs.error().errorDescription());
    }
}

QCoro::Task<ApiResult<void>> NotificationPrefStore::setMuted(QString projectID, bool muted) {
    QPointer guard(this);
    const Cancellation cancel = m_context.session->token();
    upsert(projectID, muted); // the switch flips at once
    auto saved = co_await m_context.repository().updateNotificationPref(projectID, muted, cancel);
    if (!guard || cancel.isCancelled())
        co_return ApiResult<void>();
    if (saved) {
        upsert(projectID, saved->muted);
        co_return ApiResult<void>();
    }
    if (m_context.signedOutBy(saved.error()))
        co_return saved.error();
    qCWarning(lcAppState).noquote()
        << QStringLiteral("setProjectMuted failed: %1").arg(saved.error().errorDescription());
    co_await load(); // the service's view wins
    co_return saved.error();
}

bool NotificationPrefStore::isMuted(const QString& projectID) const {
    const auto pref = m_prefs->find(projectID);
    return pref && pref->muted;
}

void NotificationPrefStore::clear() {
    m_sequence.invalidate();
    apply({});
}

void NotificationPrefStore::upsert(const QString& projectID, bool muted) {
    if (m_prefs->find(projectID)) {
        if (m_prefs->update(projectID, [&](NotificationPref& p) { p.muted = muted; }))
            emit changed();
        return;
    }
    QList<NotificationPref> list = prefs();
    list.append(NotificationPref{projectID, muted, false, false, false});
    apply(list);
}

void NotificationPrefStore::apply(const QList<NotificationPref>& list) {
    if (m_prefs->apply(list))
        emit changed();
}

} // namespace kv
