#include "SnippetStore.h"

#include "Log.h"
#include "Session.h"

#include <QPointer>

namespace kv {

SnippetStore::SnippetStore(StoreContext context, QObject* parent)
    : QObject(parent), m_context(std::move(context)) {}

QCoro::Task<> SnippetStore::ensure(QString projectID) {
    if (holds(projectID) || isLoading(projectID))
        co_return;
    co_await load(projectID);
}

QCoro::Task<> SnippetStore::load(QString projectID, bool newerThanUnderWay) {
    QPointer guard(this);
    // One fetch of an agent's list at a time: a second request waits for the one under way
    // (and, when it must be newer than that one, fetches once it is over).
    if (isLoading(projectID)) {
        while (guard && isLoading(projectID)) {
            auto fetched = m_loadFinished.wait();
            co_await fetched;
        }
        if (!guard || !newerThanUnderWay)
            co_return;
    }
    if (!m_context.session->signedIn())
        co_return;
    const Cancellation cancel = m_context.session->token();
    const quint64 ticket = m_sequences[projectID].start();
    m_loading.insert(projectID);
    emit changed(projectID);
    auto list = co_await m_context.repository().fetchSnippets(projectID, cancel);
    if (!guard || cancel.isCancelled() || !m_sequences[projectID].isLatest(ticket))
        co_return; // signed out, or a later load of the agent answers instead
    m_loading.remove(projectID);
    m_loadFinished.releaseAll();
    if (list) {
        m_lists.insert(projectID, list.value());
        m_errors.remove(projectID);
    } else if (!m_context.signedOutBy(list.error())) {
        qCWarning(lcAppState).noquote()
            << QStringLiteral("loadSnippets failed: %1").arg(list.error().errorDescription());
        m_errors.insert(projectID, list.error().errorDescription());
    }
    emit changed(projectID);
}

QCoro::Task<ApiResult<void>> SnippetStore::afterChange(QString projectID, ApiResult<void> outcome,
                                                       const char* operation) {
    if (!outcome) {
        if (!m_context.signedOutBy(outcome.error()))
            qCWarning(lcAppState).noquote()
                << QStringLiteral("%1 failed: %2")
                       .arg(QLatin1StringView(operation), outcome.error().errorDescription());
        co_return outcome;
    }
    // Fetched again if anyone has shown that agent's snippets; else there is nothing to update.
    if (holds(projectID) || isLoading(projectID))
        co_await load(projectID, true);
    co_return outcome;
}

QCoro::Task<ApiResult<void>> SnippetStore::create(QString projectID, QString shortcut,
                                                  QString title, QString body, QString emoji) {
    QPointer guard(this);
    const Cancellation cancel = m_context.session->token();
    auto created = co_await m_context.repository().createSnippet(projectID, shortcut, title, body,
                                                                 emoji, cancel);
    ApiResult<void> outcome = created ? ApiResult<void>() : ApiResult<void>(created.error());
    if (!guard || cancel.isCancelled())
        co_return outcome;
    auto reloaded = co_await afterChange(projectID, outcome, "addSnippet");
    co_return reloaded;
}

QCoro::Task<ApiResult<void>> SnippetStore::edit(QString projectID, QString snippetID,
                                                QString shortcut, QString title, QString body,
                                                QString emoji) {
    QPointer guard(this);
    const Cancellation cancel = m_context.session->token();
    auto edited = co_await m_context.repository().updateSnippet(projectID, snippetID, shortcut,
                                                                title, body, emoji, cancel);
    ApiResult<void> outcome = edited ? ApiResult<void>() : ApiResult<void>(edited.error());
    if (!guard || cancel.isCancelled())
        co_return outcome;
    auto reloaded = co_await afterChange(projectID, outcome, "editSnippet");
    co_return reloaded;
}

QCoro::Task<ApiResult<void>> SnippetStore::remove(QString projectID, QString snippetID) {
    QPointer guard(this);
    const Cancellation cancel = m_context.session->token();
    auto removed = co_await m_context.repository().deleteSnippet(projectID, snippetID, cancel);
    if (!guard || cancel.isCancelled())
        co_return removed;
    auto reloaded = co_await afterChange(projectID, removed, "removeSnippet");
    co_return reloaded;
}

void SnippetStore::clear() {
    const QStringList projects = QStringList(m_lists.keys()) + QStringList(m_loading.values()) +
                                 QStringList(m_errors.keys());
    for (auto& sequence : m_sequences)
        sequence.invalidate();
    m_lists.clear();
    m_errors.clear();
    m_loading.clear();
    m_loadFinished.releaseAll();
    for (const QString& projectID : projects)
        emit changed(projectID);
}

} // namespace kv
