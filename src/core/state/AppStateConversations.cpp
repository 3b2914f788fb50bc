// Conversations and messages, as the screens call them: the list of the
// selected scope, a conversation's detail, replying, resolving, translating.
// The store orders the loads; this connects them to the selection, the
// unread counts and the snippets.

#include "AppState.h"

#include "Log.h"

#include <QPointer>

namespace kv {

QCoro::Task<> AppState::loadConversations(std::optional<QString> projectID) {
    QPointer guard(this);
    if (!m_session->signedIn())
        co_return; // nothing is asked while signed out
    qCInfo(lcAppState).noquote() << QStringLiteral("loadConversations projectID=%1")
                                        .arg(projectID.value_or(QStringLiteral("<all>")));
    // (Arguments named first: g++ 12 mishandles temporaries inside a co_await.)
    const std::function<std::optional<QString>()> scope = [this] { return m_selectedProjectID; };
    const auto outcome = co_await m_conversations->loadList(projectID, scope, true);
    if (!guard || outcome != ConversationStore::ListOutcome::applied)
        co_return;
    // A scope loaded afresh is looked at afresh: its next look only records what it sees.
    m_detector->forgetScope(scopeOf(projectID));
    if (!m_open->id() || !m_conversations->find(*m_open->id()))
        repairConversationSelection();
    // The scope's snippets, or those of the open conversation's own agent.
    const auto& open = m_open->conversation();
    const std::optional<QString> snippetsOf = open ? std::optional(open->projectID) : projectID;
    co_await loadSnippets(snippetsOf);
}

void AppState::repairConversationSelection() {
    setSelectedConversationID(conversations().isEmpty()
                                  ? std::nullopt
                                  : std::optional<QString>(conversations().first().id));
}

void AppState::followOpenConversation() {
    // The composer offers the snippets of the open conversation's own agent.
    const auto& open = m_open->conversation();
    if (open && m_snippetsProjectID != open->projectID)
        loadSnippets(open->projectID);
}

QCoro::Task<> AppState::loadConversationDetail(QString conversationID) {
    co_await m_conversations->loadDetail(conversationID);
}

QList<Message> AppState::messages(const QString& conversationID) const {
    return m_conversations->messages(conversationID);
}

QCoro::Task<ApiResult<void>> AppState::sendOperatorReply(QString text, QString conversationID,
                                                         bool resolveAfter) {
    QPointer guard(this);
    const Cancellation cancel = m_session->token();
    const auto listed = m_conversations->find(conversationID);
    if (!listed || !m_session->signedIn())
        co_return ApiError::of(ApiError::Kind::notFound); // nothing was sent
    auto sent = co_await m_repository->sendMessage(listed->projectID, conversationID, text,
                                                   resolveAfter, cancel);
    if (!sent) {
        if (guard && !cancel.isCancelled() && !signedOutBy(sent.error()))
            m_session->setLoadState(LoadState::failed, sent.error().errorDescription());
        co_return sent.error();
    }
    if (!guard || cancel.isCancelled())
        co_return ApiResult<void>();
    // The agent's unread count goes down once, and only for a chat that was unread.
    if (m_conversations->replied(conversationID, text, sent.value())) {
        m_session->markOneRead(listed->projectID);
        updateDockBadge();
    }
    co_return ApiResult<void>();
}

QCoro::Task<ApiResult<void>>
AppState::sendOperatorReplyDirect(QString projectID, QString conversationID, QString text) {
    QPointer guard(this);
    const Cancellation cancel = m_session->token();
    if (!m_session->signedIn())
        co_return ApiError::of(ApiError::Kind::unauthorized);
    auto sent = co_await m_repository->sendMessage(projectID, conversationID, text, false, cancel);
    if (!sent) {
        if (guard && !cancel.isCancelled())
            reportFailure("sendOperatorReplyDirect", sent.error());
        co_return sent.error();
    }
    if (guard && !cancel.isCancelled())
        co_await realtimeRefresh(cancel);
    co_return ApiResult<void>();
}

QCoro::Task<> AppState::resolve(QString conversationID) {
    QPointer guard(this);
    const Cancellation cancel = m_session->token();
    const auto listed = m_conversations->find(conversationID);
    if (!listed || !m_session->signedIn())
        co_return;
    auto resolved =
        co_await m_repository->resolveConversation(listed->projectID, conversationID, cancel);
    if (!guard || cancel.isCancelled())
        co_return;
    if (!resolved) {
        if (signedOutBy(resolved.error()))
            co_return;
        m_session->setLoadState(LoadState::failed, resolved.error().errorDescription());
        m_notices->post(QStringLiteral("Couldn’t resolve the conversation: ") +
                        resolved.error().errorDescription());
        co_return;
    }
    if (m_conversations->resolved(conversationID)) {
        m_session->markOneRead(listed->projectID);
        updateDockBadge();
    }
}

QCoro::Task<> AppState::translateMessage(QString conversationID, QString messageID,
                                         std::optional<QString> overrideTarget) {
    QPointer guard(this);
    const Cancellation cancel = m_session->token();
    const QString target = overrideTarget.value_or(translationTargetCode());
    const QList<Message> all = messages(conversationID);
    const auto found =
        std::find_if(all.begin(), all.end(), [&](const Message& m) { return m.id == messageID; });
    if (found == all.end() || !m_session->signedIn())
        co_return;
    if (!overrideTarget && found->translation)
        co_return;
    if (found->content.trimmed().isEmpty())
        co_return;
    auto translated =
        co_await m_repository->translate(found->content, target, QStringLiteral("auto"), cancel);
    if (!guard || cancel.isCancelled())
        co_return;
    if (!translated) {
        reportFailure("translateMessage", translated.error(),
                      QStringLiteral("Couldn’t translate the message"));
        co_return;
    }
    applyTranslation(conversationID, messageID, translated->translation,
                     translated->detectedSource);
}

void AppState::applyTranslation(const QString& conversationID, const QString& messageID,
                                const QString& translation, const QString& detectedLanguage) {
    m_conversations->translated(conversationID, messageID, translation, detectedLanguage);
}

} // namespace kv
