#pragma once

// The REST client: builds, sends, logs and decodes every request to the
// service. Operations are coroutines that never throw; they return an
// ApiResult. Nothing is retried here.

#include "ApiError.h"
#include "Cancellation.h"
#include "records/Records.h"

#include <QCoroTask>
#include <QJsonObject>

#include <functional>
#include <optional>

class QNetworkAccessManager;
class QNetworkRequest;

namespace kv {

struct SignInExchange {
    QString apiKey;
    User user;
};

class ApiClient {
public:
    // `network` is shared and outlives the client.
    explicit ApiClient(QNetworkAccessManager* network,
                       std::optional<QString> apiKey = std::nullopt);

    std::optional<QString> apiKey() const { return m_apiKey; }
    void setApiKey(std::optional<QString> key) { m_apiKey = std::move(key); }

    // The user-visible name of this machine, sent with the sign-in exchange.
    void setDeviceNameProvider(std::function<QString()> provider);

    // Account.
    QCoro::Task<ApiResult<User>> fetchMe(Cancellation cancel = {});
    QCoro::Task<ApiResult<QList<Project>>> fetchProjects(Cancellation cancel = {});
    QCoro::Task<ApiResult<QList<Client>>> fetchClients(Cancellation cancel = {});

    // Conversations and visitors.
    QCoro::Task<ApiResult<QList<Conversation>>> fetchConversations(std::optional<QString> projectID,
                                                                   std::optional<QString> status,
                                                                   qint64 limit,
                                                                   Cancellation cancel = {});
    QCoro::Task<ApiResult<QList<Visitor>>> fetchLiveVisitors(std::optional<QString> projectID,
                                                             Cancellation cancel = {});
    QCoro::Task<ApiResult<ConversationDetail>>
    fetchConversationDetail(QString projectID, QString conversationID, Cancellation cancel = {});
    QCoro::Task<ApiResult<void>> resolveConversation(QString projectID, QString conversationID,
                                                     Cancellation cancel = {});
    QCoro::Task<ApiResult<SendMessageResult>> sendMessage(QString projectID, QString conversationID,
                                                          QString text, bool resolveAfter,
                                                          Cancellation cancel = {});
    QCoro::Task<ApiResult<TranslationResult>> translate(QString text, QString target,
                                                        QString source, Cancellation cancel = {});

    // Statistics.
    QCoro::Task<ApiResult<ProjectStats>> fetchStats(QString projectID, qint64 days,
                                                    Cancellation cancel = {});
    QCoro::Task<ApiResult<ProjectStats>> fetchAggregateStats(qint64 days, Cancellation cancel = {});

    // Notification preferences.
    QCoro::Task<ApiResult<QList<NotificationPref>>>
    fetchNotificationPrefs(Cancellation cancel = {});
    QCoro::Task<ApiResult<NotificationPref>> updateNotificationPref(QString projectID, bool muted,
                                                                    Cancellation cancel = {});

    // Snippets.
    QCoro::Task<ApiResult<QList<Snippet>>> fetchSnippets(QString projectID,
                                                         Cancellation cancel = {});
    QCoro::Task<ApiResult<Snippet>> createSnippet(QString projectID, QString shortcut,
                                                  QString title, QString body, QString emoji,
                                                  Cancellation cancel = {});
    QCoro::Task<ApiResult<Snippet>> updateSnippet(QString projectID, QString snippetID,
                                                  QString shortcut, QString title, QString body,
                                                  QString emoji, Cancellation cancel = {});
    QCoro::Task<ApiResult<void>> deleteSnippet(QString projectID, QString snippetID,
                                               Cancellation cancel = {});

    // Sign-in: trades the browser's one-time code for an API key. Sent without Authorization.
    QCoro::Task<ApiResult<SignInExchange>> exchangeOAuthCode(QString code, QString state,
                                                             Cancellation cancel = {});

    // The request as get/postJSON/putJSON/sendDelete build it, before sending (for inspection).
    QNetworkRequest buildRequest(const QString& path, bool withBody) const;

private:
    template <typename T>
    using Decoder = std::function<T(const QJsonObject&)>;

    // Builds and sends one authorised request, then decodes a 2xx body with `decode`.
    template <typename T>
    QCoro::Task<ApiResult<T>> call(QByteArray method, QString path, std::optional<QJsonObject> body,
                                   Decoder<T> decode, Cancellation cancel);
    // Sends a built request; on 2xx gives the body, otherwise the mapped error.
    QCoro::Task<ApiResult<QByteArray>> execute(QNetworkRequest request, QByteArray method,
                                               QByteArray body, Cancellation cancel);
    template <typename T>
    static ApiResult<T> decodeBody(const QString& logPath, const QByteArray& body,
                                   const Decoder<T>& decode);

    QNetworkAccessManager* m_network;
    std::optional<QString> m_apiKey;
    std::function<QString()> m_deviceName;
};

} // namespace kv
