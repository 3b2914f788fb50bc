// Statistics, snippets and notification preferences.

#include "AppState.h"

#include "Log.h"

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

// ---- statistics ------------------------------------------------------------------

QString AppState::statsKey(const std::optional<QString>& projectID, qint64 days) {
    return projectID.value_or(QStringLiteral("all")) + u':' + QString::number(days);
}

QCoro::Task<> AppState::loadStats(std::optional<QString> projectID, qint64 days,
                                  Cancellation cancel) {
    QPointer guard(this);
    const Cancellation session = m_session;
    const QString key = statsKey(projectID, days);
    if (m_statsCache.contains(key))
        co_return;
    // The screen's token ends the request when the screen moves on; signing out does too.
    const int ticket = session.onCancel([cancel]() mutable { cancel.cancel(); });
    // (No co_await inside ?: — g++ 12 destroys its temporaries too early.)
    ApiResult<ProjectStats> stats;
    if (projectID)
        stats = co_await m_repository->fetchStats(*projectID, days, cancel);
    else
        stats = co_await m_repository->fetchAggregateStats(days, cancel);
    session.forget(ticket);
    if (!guard || session.isCancelled())
        co_return;
    if (stats) {
        m_statsCache.insert(key, stats.value());
        m_statsError.remove(key);
        emit statsChanged();
        co_return;
    }
    if (signedOutBy(stats.error()))
        co_return;
    // The screen moved on to another agent or range: that is no failure of this key.
    if (cancel.isCancelled())
        co_return;
    const QString description = debugDescription(stats.error());
    m_statsError.insert(key, description);
    qCWarning(lcAppState).noquote()
        << QStringLiteral("loadStats failed (%1): %2").arg(key, description);
    emit statsChanged();
}

QCoro::Task<> AppState::retryStats(std::optional<QString> projectID, qint64 days) {
    if (m_statsError.remove(statsKey(projectID, days)) > 0)
        emit statsChanged();
    co_await loadStats(projectID, days);
}

std::optional<ProjectStats> AppState::cachedStats(const std::optional<QString>& projectID,
                                                  qint64 days) const {
    const auto found = m_statsCache.constFind(statsKey(projectID, days));
    if (found == m_statsCache.constEnd())
        return std::nullopt;
    return *found;
}

std::optional<QString> AppState::statsError(const QString& key) const {
    const auto found = m_statsError.constFind(key);
    if (found == m_statsError.constEnd())
        return std::nullopt;
    return *found;
}

// ---- snippets ----------------------------------------------------------------------

QCoro::Task<> AppState::loadSnippets(std::optional<QString> projectID) {
    QPointer guard(this);
    const Cancellation cancel = m_session;
    const auto selection = m_selectedProjectID;
    if (!projectID) {
        setSnippets({});
        m_snippetsProjectID.reset();
        co_return;
    }
    auto list = co_await m_repository->fetchSnippets(*projectID, cancel);
    // Snippets of an agent the operator has since left are not offered.
    if (!guard || cancel.isCancelled() || m_selectedProjectID != selection)
        co_return;
    if (!list) {
        reportFailure("loadSnippets", list.error());
        co_return;
    }
    setSnippets(list.value());
    m_snippetsProjectID = projectID;
}

QCoro::Task<> AppState::reloadSnippetsIfCurrent(QString projectID) {
    if (m_snippetsProjectID && *m_snippetsProjectID != projectID)
        co_return;
    m_snippetsProjectID.reset();
    co_await loadSnippets(projectID);
}

QCoro::Task<ApiResult<void>> AppState::removeSnippet(QString projectID, QString snippetID) {
    QPointer guard(this);
    const Cancellation cancel = m_session;
    auto removed = co_await m_repository->deleteSnippet(projectID, snippetID, cancel);
    if (!guard || cancel.isCancelled())
        co_return removed;
    if (!removed) {
        reportFailure("removeSnippet", removed.error());
        co_return removed;
    }
    co_await reloadSnippetsIfCurrent(projectID);
    co_return removed;
}

QCoro::Task<ApiResult<void>> AppState::addSnippet(QString projectID, QString shortcut,
                                                  QString title, QString body, QString emoji) {
    QPointer guard(this);
    const Cancellation cancel = m_session;
    auto created =
        co_await m_repository->createSnippet(projectID, shortcut, title, body, emoji, cancel);
    ApiResult<void> outcome = created ? ApiResult<void>() : ApiResult<void>(created.error());
    if (!guard || cancel.isCancelled())
        co_return outcome;
    if (!created) {
        reportFailure("addSnippet", created.error());
        co_return outcome;
    }
    co_await reloadSnippetsIfCurrent(projectID);
    co_return outcome;
}

QCoro::Task<ApiResult<void>> AppState::editSnippet(QString projectID, QString snippetID,
                                                   QString shortcut, QString title, QString body,
                                                   QString emoji) {
    QPointer guard(this);
    const Cancellation cancel = m_session;
    auto edited = co_await m_repository->updateSnippet(projectID, snippetID, shortcut, title, body,
                                                       emoji, cancel);
    ApiResult<void> outcome = edited ? ApiResult<void>() : ApiResult<void>(edited.error());
    if (!guard || cancel.isCancelled())
        co_return outcome;
    if (!edited) {
        reportFailure("editSnippet", edited.error());
        co_return outcome;
    }
    co_await reloadSnippetsIfCurrent(projectID);
    co_return outcome;
}

// ---- notification preferences ---------------------------------------------------------

QCoro::Task<> AppState::loadNotificationPrefs() {
    QPointer guard(this);
    const Cancellation cancel = m_session;
    auto prefs = co_await m_repository->fetchNotificationPrefs(cancel);
    if (!guard || cancel.isCancelled())
        co_return;
    if (prefs)
        setNotificationPrefs(prefs.value());
    else
        reportFailure("loadNotificationPrefs", prefs.error());
}

QCoro::Task<> AppState::setProjectMuted(QString projectID, bool muted) {
    QPointer guard(this);
    const Cancellation cancel = m_session;
    upsertPref(projectID, muted); // the switch flips at once
    auto saved = co_await m_repository->updateNotificationPref(projectID, muted, cancel);
    if (!guard || cancel.isCancelled())
        co_return;
    if (saved) {
        upsertPref(projectID, saved->muted);
        co_return;
    }
    reportFailure("setProjectMuted", saved.error());
    if (m_authStatus == AuthStatus::signedIn)
        co_await loadNotificationPrefs(); // the service's view wins
}

void AppState::upsertPref(const QString& projectID, bool muted) {
    QList<NotificationPref> list = notificationPrefs();
    auto found = std::find_if(list.begin(), list.end(),
                              [&](const NotificationPref& p) { return p.projectID == projectID; });
    if (found != list.end())
        found->muted = muted;
    else
        list.append(NotificationPref{projectID, muted, false, false, false});
    setNotificationPrefs(list);
}

bool AppState::isProjectMuted(const QString& projectID) const {
    for (const NotificationPref& p : notificationPrefs()) {
        if (p.projectID == projectID)
            return p.muted;
    }
    return false;
}

} // namespace kv
