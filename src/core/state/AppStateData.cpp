// Statistics, snippets and notification preferences, as the screens call
// them; each store keeps its own order.

#include "AppState.h"

#include <QPointer>

namespace kv {

QCoro::Task<> AppState::loadStats(std::optional<QString> projectID, qint64 days,
                                  Cancellation cancel) {
    co_await m_stats->load(projectID, days, cancel);
}

QCoro::Task<> AppState::retryStats(std::optional<QString> projectID, qint64 days) {
    co_await m_stats->retry(projectID, days);
}

void AppState::showSnippetsOf(const std::optional<QString>& projectID) {
    m_snippetsProjectID = projectID;
    const QList<Snippet> shown =
        projectID ? m_snippetStore->snippets(*projectID) : QList<Snippet>();
    if (m_snippets->apply(shown))
        emit snippetsChanged();
}

QCoro::Task<> AppState::loadSnippets(std::optional<QString> projectID) {
    showSnippetsOf(projectID);
    if (!projectID)
        co_return;
    const QString project = *projectID;
    co_await m_snippetStore->load(project);
}

QCoro::Task<> AppState::reloadSnippetsIfCurrent(QString projectID) {
    QPointer guard(this);
    if (m_snippetsProjectID && *m_snippetsProjectID != projectID)
        co_return;
    // The store has just fetched a list it holds; only one it lacks is fetched here.
    co_await m_snippetStore->ensure(projectID);
    if (!guard)
        co_return;
    if (m_snippetStore->error(projectID).isEmpty())
        showSnippetsOf(projectID);
    else
        m_snippetsProjectID.reset(); // the list shown stays; the next need loads it again
}

QCoro::Task<ApiResult<void>> AppState::removeSnippet(QString projectID, QString snippetID) {
    QPointer guard(this);
    auto removed = co_await m_snippetStore->remove(projectID, snippetID);
    if (!guard)
        co_return removed;
    if (removed)
        co_await reloadSnippetsIfCurrent(projectID);
    else if (removed.error().kind != ApiError::Kind::unauthorized)
        m_notices->post(QStringLiteral("Snippet not deleted: ") +
                        removed.error().errorDescription());
    co_return removed;
}

QCoro::Task<ApiResult<void>> AppState::addSnippet(QString projectID, QString shortcut,
                                                  QString title, QString body, QString emoji) {
    QPointer guard(this);
    auto added = co_await m_snippetStore->create(projectID, shortcut, title, body, emoji);
    if (guard && added)
        co_await reloadSnippetsIfCurrent(projectID);
    co_return added;
}

QCoro::Task<ApiResult<void>> AppState::editSnippet(QString projectID, QString snippetID,
                                                   QString shortcut, QString title, QString body,
                                                   QString emoji) {
    QPointer guard(this);
    auto edited = co_await m_snippetStore->edit(projectID, snippetID, shortcut, title, body, emoji);
    if (guard && edited)
        co_await reloadSnippetsIfCurrent(projectID);
    co_return edited;
}

QCoro::Task<> AppState::setProjectMuted(QString projectID, bool muted) {
    QPointer guard(this);
    const auto saved = co_await m_prefs->setMuted(projectID, muted);
    if (guard && !saved && saved.error().kind != ApiError::Kind::unauthorized)
        m_notices->post(QStringLiteral("Couldn’t change notifications for this agent: ") +
                        saved.error().errorDescription());
}

} // namespace kv
