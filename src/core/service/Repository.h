#pragma once

// How the application state reaches the service: one operation per REST
// operation except the sign-in exchange, with the client's names, arguments
// and results. Tests may stand in their own.

#include "ApiClient.h"

namespace kv {

// Every operation once: X(result, name, (parameters), (arguments)). The
// interface and its one implementation are both made from this list, so they
// cannot drift apart.
#define KV_REPOSITORY_OPERATIONS(X)                                                                \
    X(User, fetchMe, (Cancellation cancel), (cancel))                                              \
    X(QList<Project>, fetchProjects, (Cancellation cancel), (cancel))                              \
    X(QList<Client>, fetchClients, (Cancellation cancel), (cancel))                                \
    X(QList<Conversation>, fetchConversations,                                                     \
      (std::optional<QString> projectID, std::optional<QString> status, qint64 limit,              \
       Cancellation cancel),                                                                       \
      (projectID, status, limit, cancel))                                                          \
    X(QList<Visitor>, fetchLiveVisitors, (std::optional<QString> projectID, Cancellation cancel),  \
      (projectID, cancel))                                                                         \
    X(ConversationDetail, fetchConversationDetail,                                                 \
      (QString projectID, QString conversationID, Cancellation cancel),                            \
      (projectID, conversationID, cancel))                                                         \
    X(ProjectStats, fetchStats, (QString projectID, qint64 days, Cancellation cancel),             \
      (projectID, days, cancel))                                                                   \
    X(ProjectStats, fetchAggregateStats, (qint64 days, Cancellation cancel), (days, cancel))       \
    X(void, resolveConversation, (QString projectID, QString conversationID, Cancellation cancel), \
      (projectID, conversationID, cancel))                                                         \
    X(SendMessageResult, sendMessage,                                                              \
      (QString projectID, QString conversationID, QString text, bool resolveAfter,                 \
       Cancellation cancel),                                                                       \
      (projectID, conversationID, text, resolveAfter, cancel))                                     \
    X(TranslationResult, translate,                                                                \
      (QString text, QString target, QString source, Cancellation cancel),                         \
      (text, target, source, cancel))                                                              \
    X(QList<NotificationPref>, fetchNotificationPrefs, (Cancellation cancel), (cancel))            \
    X(NotificationPref, updateNotificationPref,                                                    \
      (QString projectID, bool muted, Cancellation cancel), (projectID, muted, cancel))            \
    X(QList<Snippet>, fetchSnippets, (QString projectID, Cancellation cancel),                     \
      (projectID, cancel))                                                                         \
    X(Snippet, createSnippet,                                                                      \
      (QString projectID, QString shortcut, QString title, QString body, QString emoji,            \
       Cancellation cancel),                                                                       \
      (projectID, shortcut, title, body, emoji, cancel))                                           \
    X(Snippet, updateSnippet,                                                                      \
      (QString projectID, QString snippetID, QString shortcut, QString title, QString body,        \
       QString emoji, Cancellation cancel),                                                        \
      (projectID, snippetID, shortcut, title, body, emoji, cancel))                                \
    X(void, deleteSnippet, (QString projectID, QString snippetID, Cancellation cancel),            \
      (projectID, snippetID, cancel))

class Repository {
public:
    virtual ~Repository() = default;

// (The arguments are a type, a name and parenthesised lists: they cannot take
// parentheses of their own.)
// NOLINTBEGIN(bugprone-macro-parentheses)
#define KV_DECLARE_OPERATION(Result, name, parameters, arguments)                                  \
    virtual QCoro::Task<ApiResult<Result>> name parameters = 0;
    KV_REPOSITORY_OPERATIONS(KV_DECLARE_OPERATION)
#undef KV_DECLARE_OPERATION
};

// Forwards every operation to the REST client unchanged.
class LiveRepository final : public Repository {
public:
    explicit LiveRepository(ApiClient* api) : api(api) {}

#define KV_DECLARE_OVERRIDE(Result, name, parameters, arguments)                                   \
    QCoro::Task<ApiResult<Result>> name parameters override;
    KV_REPOSITORY_OPERATIONS(KV_DECLARE_OVERRIDE)
#undef KV_DECLARE_OVERRIDE
    // NOLINTEND(bugprone-macro-parentheses)

    ApiClient* api;
};

} // namespace kv
