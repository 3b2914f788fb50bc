#include "VisitorStore.h"

#include "Log.h"
#include "Session.h"

#include <QPointer>

namespace kv {

VisitorStore::VisitorStore(StoreContext context, QObject* parent)
    : QObject(parent), m_context(std::move(context)), m_visitors(newVisitorModel(this)) {}

QCoro::Task<> VisitorStore::load(std::optional<QString> projectID,
                                 std::function<std::optional<QString>()> scope,
                                 std::optional<Cancellation> within) {
    QPointer guard(this);
    if (!m_context.session->signedIn())
        co_return;
    const Cancellation cancel = within.value_or(m_context.session->token());
    const quint64 ticket = m_sequence.start();
    const auto scopeAtStart = scope();
    setStatus(true, m_error);
    auto visitors = co_await m_context.repository().fetchLiveVisitors(projectID, cancel);
    if (!guard || !m_sequence.isLatest(ticket))
        co_return; // a later load answers
    if (cancel.isCancelled() || scope() != scopeAtStart) {
        setStatus(false, m_error);
        co_return; // the operator has left that scope
    }
    if (visitors) {
        if (m_visitors->apply(visitors.value()))
            emit visitorsChanged();
        setStatus(false, QString());
        co_return;
    }
    if (m_context.signedOutBy(visitors.error()))
        co_return;
    const QString description = visitors.error().errorDescription();
    qCWarning(lcAppState).noquote()
        << QStringLiteral("loadLiveVisitors failed: %1").arg(description);
    setStatus(false, description);
}

void VisitorStore::clear() {
    m_sequence.invalidate();
    if (m_visitors->apply({}))
        emit visitorsChanged();
    setStatus(false, QString());
}

void VisitorStore::setStatus(bool loading, const QString& error) {
    if (m_loading == loading && m_error == error)
        return;
    m_loading = loading;
    m_error = error;
    emit statusChanged();
}

} // namespace kv
