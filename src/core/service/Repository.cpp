#include "Repository.h"

namespace kv {

QCoro::Task<ApiResult<User>> LiveRepository::fetchMe(Cancellation cancel) {
    co_return co_await api->fetchMe(cancel);
}

QCoro::Task<ApiResult<QList<Project>>> LiveRepository::fetchProjects(Cancellation cancel) {
    co_return co_await api->fetchProjects(cancel);
}

QCoro::Task<ApiResult<QList<Client>>> LiveRepository::fetchClients(Cancellation cancel) {
    co_return co_await api->fetchClients(cancel);
}

QCoro::Task<ApiResult<QList<Conversation>>>
LiveRepository::fetchConversations(std::optional<QString> projectID, std::optional<QString> status,
                                   qint64 limit, Cancellation cancel) {
    co_return co_await api->fetchConversations(projectID, status, limit, cancel);
}

QCoro::Task<ApiResult<QList<Visitor>>>
LiveRepository::fetchLiveVisitors(std::optional<QString> projectID, Cancellation cancel) {
    co_return co_await api->fetchLiveVisitors(projectID, cancel);
}

QCoro::Task<ApiResult<ConversationDetail>>
LiveRepository::fetchConversationDetail(QString projectID, QString conversationID,
                                        Cancellation cancel) {
    co_return co_await api->fetchConversationDetail(projectID, conversationID, cancel);
}

QCoro::Task<ApiResult<ProjectStats>> LiveRepository::fetchStats(QString projectID, qint64 days,
                                                                Cancellation cancel) {
    co_return co_await api->fetchStats(projectID, days, cancel);
}

QCoro::Task<ApiResult<ProjectStats>> LiveRepository::fetchAggregateStats(qint64 days,
                                                                         Cancellation cancel) {
    co_return co_await api->fetchAggregateStats(days, cancel);
}

QCoro::Task<ApiResult<void>> LiveRepository::resolveConversation(QString projectID,
                                                                 QString conversationID,
                                                                 Cancellation cancel) {
    co_return co_await api->resolveConversation(projectID, conversationID, cancel);
}

QCoro::Task<ApiResult<SendMessageResult>>
LiveRepository::sendMessage(QString projectID, QString conversationID, QString text,
                            bool resolveAfter, Cancellation cancel) {
    co_return co_await api->sendMessage(projectID, conversationID, text, resolveAfter, cancel);
}

QCoro::Task<ApiResult<TranslationResult>>
LiveRepository::translate(QString text, QString target, QString source, Cancellation cancel) {
    co_return co_await api->translate(text, target, source, cancel);
}

QCoro::Task<ApiResult<QList<NotificationPref>>>
LiveRepository::fetchNotificationPrefs(Cancellation cancel) {
    co_return co_await api->fetchNotificationPrefs(cancel);
}

QCoro::Task<ApiResult<NotificationPref>>
LiveRepository::updateNotificationPref(QString projectID, bool muted, Cancellation cancel) {
    co_return co_await api->updateNotificationPref(projectID, muted, cancel);
}

QCoro::Task<ApiResult<QList<Snippet>>> LiveRepository::fetchSnippets(QString projectID,
                                                                     Cancellation cancel) {
    co_return co_await api->fetchSnippets(projectID, cancel);
}

QCoro::Task<ApiResult<Snippet>> LiveRepository::createSnippet(QString projectID, QString shortcut,
                                                              QString title, QString body,
                                                              QString emoji, Cancellation cancel) {
    co_return co_await api->createSnippet(projectID, shortcut, title, body, emoji, cancel);
}

QCoro::Task<ApiResult<Snippet>> LiveRepository::updateSnippet(QString projectID, QString snippetID,
                                                              QString shortcut, QString title,
                                                              QString body, QString emoji,
                                                              Cancellation cancel) {
    co_return co_await api->updateSnippet(projectID, snippetID, shortcut, title, body, emoji,
                                          cancel);
}

QCoro::Task<ApiResult<void>> LiveRepository::deleteSnippet(QString projectID, QString snippetID,
                                                           Cancellation cancel) {
    co_return co_await api->deleteSnippet(projectID, snippetID, cancel);
}

} // namespace kv
