#include "StatsCache.h"

#include "Log.h"
#include "Session.h"

#include <QPointer>

namespace kv {

namespace {

// The error's full description, as the Retry button's tooltip shows it.
QString debugDescription(const ApiError& error) {
    switch (error.kind) {
    case ApiError::Kind::http:
        return QStringLiteral("http(status: %1, body: \"%2\")")
            .arg(QString::number(error.status), error.body);
    case ApiError::Kind::transport:
        return QStringLiteral("transport(%1)").arg(error.underlying);
    case ApiError::Kind::decoding:
        return QStringLiteral("decoding(%1)").arg(error.underlying);
    default:
        return error.errorDescription();
    }
}

} // namespace

StatsCache::StatsCache(StoreContext context, QObject* parent)
    : QObject(parent), m_context(std::move(context)) {}

QString StatsCache::key(const std::optional<QString>& projectID, qint64 days) {
    return projectID.value_or(QStringLiteral("all")) + u':' + QString::number(days);
}

QCoro::Task<> StatsCache::load(std::optional<QString> projectID, qint64 days, Cancellation screen) {
    QPointer guard(this);
    const QString k = key(projectID, days);
    if (m_cache.contains(k) || !m_context.session->signedIn())
        co_return;
    const Cancellation session = m_context.session->token();
    const quint64 generation = m_generation;
    const int ticket = session.onCancel([screen]() mutable { screen.cancel(); });
    m_loading.insert(k);
    emit changed();
    // (No co_await inside ?: — g++ 12 destroys its temporaries too early.)
    ApiResult<ProjectStats> stats;
    if (projectID)
        stats = co_await m_context.repository().fetchStats(*projectID, days, screen);
    else
        stats = co_await m_context.repository().fetchAggregateStats(days, screen);
    session.forget(ticket);
    if (!guard || session.isCancelled() || generation != m_generation)
        co_return;
    m_loading.remove(k);
    if (stats) {
        m_cache.insert(k, stats.value());
        m_errors.remove(k);
        emit changed();
        co_return;
    }
    if (m_context.signedOutBy(stats.error()))
        co_return;
    // The screen moved on to another agent or range: that is no failure of this key.
    if (!screen.isCancelled()) {
        m_errors.insert(k, stats.error().errorDescription());
        qCWarning(lcAppState).noquote()
            << QStringLiteral("loadStats failed (%1): %2").arg(k, debugDescription(stats.error()));
    }
    emit changed();
}

QCoro::Task<> StatsCache::retry(std::optional<QString> projectID, qint64 days) {
    if (m_errors.remove(key(projectID, days)) > 0)
        emit changed();
    co_await load(projectID, days);
}

std::optional<ProjectStats> StatsCache::cached(const std::optional<QString>& projectID,
                                               qint64 days) const {
    const auto found = m_cache.constFind(key(projectID, days));
    if (found == m_cache.constEnd())
        return std::nullopt;
    return *found;
}

std::optional<QString> StatsCache::error(const QString& k) const {
    const auto found = m_errors.constFind(k);
    if (found == m_errors.constEnd())
        return std::nullopt;
    return *found;
}

void StatsCache::clear() {
    ++m_generation;
    m_loading.clear();
    if (m_cache.isEmpty() && m_errors.isEmpty())
        return;
    m_cache.clear();
    m_errors.clear();
    emit changed();
}

} // namespace kv
