#pragma once

// How the application state reaches the service: one operation per REST
// operation except the sign-in exchange. Tests may stand in their own.

#include "ApiClient.h"

namespace kv {

class Repository {
public:
    virtual ~Repository() = default;

    virtual QCoro::Task<ApiResult<User>> fetchMe(Cancellation cancel = {}) = 0;
    virtual QCoro::Task<ApiResult<QList<Project>>> fetchProjects(Cancellation cancel = {}) = 0;
    virtual QCoro::Task<ApiResult<QList<Client>>> fetchClients(Cancellation cancel = {}) = 0;
    virtual QCoro::Task<ApiResult<QList<Conversation>>>
    fetchConversations(std::optional<QString> projectID, std::optional<QString> status,
                       qint64 limit, Cancellation cancel = {}) = 0;
    virtual QCoro::Task<ApiResult<QList<Visitor>>>
    fetchLiveVisitors(std::optional<QString> projectID, Cancellation cancel = {}) = 0;
    virtual QCoro::Task<ApiResult<ConversationDetail>>
    fetchConversationDetail(QString projectID, QString conversationID,
                            Cancellation cancel = {}) = 0;
    virtual QCoro::Task<ApiResult<ProjectStats>> fetchStats(QString projectID, qint64 days,
                                                            Cancellation cancel = {}) = 0;
    virtual QCoro::Task<ApiResult<ProjectStats>> fetchAggregateStats(qint64 days,
                                                                     Cancellation cancel = {}) = 0;
    virtual QCoro::Task<ApiResult<void>>
    resolveConversation(QString projectID, QString conversationID, Cancellation cancel = {}) = 0;
    virtual QCoro::Task<ApiResult<SendMessageResult>> sendMessage(QString projectID,
                                                                  QString conversationID,
                                                                  QString text, bool resolveAfter,
                                                                  Cancellation cancel = {}) = 0;
    virtual QCoro::Task<ApiResult<TranslationResult>>
    translate(QString text, QString target, QString source, Cancellation cancel = {}) = 0;
    virtual QCoro::Task<ApiResult<QList<NotificationPref>>>
    fetchNotificationPrefs(Cancellation cancel = {}) = 0;
    virtual QCoro::Task<ApiResult<NotificationPref>>
    updateNotificationPref(QString projectID, bool muted, Cancellation cancel = {}) = 0;
    virtual QCoro::Task<ApiResult<QList<Snippet>>> fetchSnippets(QString projectID,
                                                                 Cancellation cancel = {}) = 0;
    virtual QCoro::Task<ApiResult<Snippet>> createSnippet(QString projectID, QString shortcut,
                                                          QString title, QString body,
                                                          QString emoji,
                                                          Cancellation cancel = {}) = 0;
    virtual QCoro::Task<ApiResult<Snippet>> updateSnippet(QString projectID, QString snippetID,
                                                          QString shortcut, QString title,
                                                          QString body, QString emoji,
                                                          Cancellation cancel = {}) = 0;
    virtual QCoro::Task<ApiResult<void>> deleteSnippet(QString projectID, QString snippetID,
                                                       Cancellation cancel = {}) = 0;
};

// Forwards every operation to the REST client unchanged.
class LiveRepository final : public Repository {
public:
    explicit LiveRepository(ApiClient* api) : api(api) {}

    QCoro::Task<ApiResult<User>> fetchMe(Cancellation cancel) override;
    QCoro::Task<ApiResult<QList<Project>>> fetchProjects(Cancellation cancel) override;
    QCoro::Task<ApiResult<QList<Client>>> fetchClients(Cancellation cancel) override;
    QCoro::Task<ApiResult<QList<Conversation>>> fetchConversations(std::optional<QString> projectID,
                                                                   std::optional<QString> status,
                                                                   qint64 limit,
                                                                   Cancellation cancel) override;
    QCoro::Task<ApiResult<QList<Visitor>>> fetchLiveVisitors(std::optional<QString> projectID,
                                                             Cancellation cancel) override;
    QCoro::Task<ApiResult<ConversationDetail>>
    fetchConversationDetail(QString projectID, QString conversationID,
                            Cancellation cancel) override;
    QCoro::Task<ApiResult<ProjectStats>> fetchStats(QString projectID, qint64 days,
                                                    Cancellation cancel) override;
    QCoro::Task<ApiResult<ProjectStats>> fetchAggregateStats(qint64 days,
                                                             Cancellation cancel) override;
    QCoro::Task<ApiResult<void>> resolveConversation(QString projectID, QString conversationID,
                                                     Cancellation cancel) override;
    QCoro::Task<ApiResult<SendMessageResult>> sendMessage(QString projectID, QString conversationID,
                                                          QString text, bool resolveAfter,
                                                          Cancellation cancel) override;
    QCoro::Task<ApiResult<TranslationResult>>
    translate(QString text, QString target, QString source, Cancellation cancel) override;
    QCoro::Task<ApiResult<QList<NotificationPref>>>
    fetchNotificationPrefs(Cancellation cancel) override;
    QCoro::Task<ApiResult<NotificationPref>> updateNotificationPref(QString projectID, bool muted,
                                                                    Cancellation cancel) override;
    QCoro::Task<ApiResult<QList<Snippet>>> fetchSnippets(QString projectID,
                                                         Cancellation cancel) override;
    QCoro::Task<ApiResult<Snippet>> createSnippet(QString projectID, QString shortcut,
                                                  QString title, QString body, QString emoji,
                                                  Cancellation cancel) override;
    QCoro::Task<ApiResult<Snippet>> updateSnippet(QString projectID, QString snippetID,
                                                  QString shortcut, QString title, QString body,
                                                  QString emoji, Cancellation cancel) override;
    QCoro::Task<ApiResult<void>> deleteSnippet(QString projectID, QString snippetID,
                                               Cancellation cancel) override;

    ApiClient* api;
};

} // namespace kv
