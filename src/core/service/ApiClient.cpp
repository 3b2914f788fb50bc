#include "ApiClient.h"

#include "ApiKey.h"
#include "Configuration.h"
#include "Log.h"
#include "PathSegment.h"
#include "Timing.h"
#include "records/Utf8.h"
#include "records/WireRecords.h"

#include <QCoroFuture>
#include <QCoroNetworkReply>
#include <QJsonDocument>
#include <QNetworkAccessManager>
#include <QNetworkReply>
#include <QSysInfo>
#include <QTimer>
#include <QtConcurrent/QtConcurrentRun>

namespace kv {

namespace {

// Answers at least this large are decoded off the GUI thread.
constexpr qsizetype kKiB = 1024;
constexpr qsizetype kDecodeOnWorkerFrom = 64 * kKiB;
// No answer of the service comes near this (the largest, live visitors of a
// big account, is a few MB); reading more would only let a broken or hostile
// server fill memory, as parsing costs a few times the body again.
constexpr qint64 kMaxBodyMiB = 32;
constexpr qint64 kMaxBodyBytes = kMaxBodyMiB * kKiB * kKiB;

const QByteArray kGet = QByteArrayLiteral("GET");
const QByteArray kPost = QByteArrayLiteral("POST");
const QByteArray kPut = QByteArrayLiteral("PUT");
const QByteArray kDelete = QByteArrayLiteral("DELETE");
const QByteArray kJson = QByteArrayLiteral("application/json");

// Text of base URL followed directly by the path; the base URL itself when that is no URL.
QUrl urlFor(const QString& path) {
    const QUrl base = Configuration::baseURL();
    const QUrl url(base.toString(QUrl::FullyEncoded) + path, QUrl::StrictMode);
    return url.isValid() ? url : base;
}

QString logPathOf(const QNetworkRequest& request) {
    const QUrl url = request.url();
    if (url.isEmpty())
        return QStringLiteral("?");
    return url.path(QUrl::FullyEncoded);
}

QDateTime now() {
    return QDateTime::currentDateTimeUtc();
}

// Envelope of one list member, each element decoded and mapped by `item`.
template <typename Item>
auto listOf(const char* member, Item item) {
    return [member, item](const QJsonObject& top) {
        const WireObject o(top, WirePath{});
        return o.list(member, item);
    };
}

QString defaultDeviceName() {
    const QString name = QSysInfo::machineHostName();
    return name.isEmpty() ? QStringLiteral("Mac") : name;
}

} // namespace

ApiClient::ApiClient(QNetworkAccessManager* network, std::optional<QString> apiKey)
    : m_network(network), m_apiKey(std::move(apiKey)), m_deviceName(defaultDeviceName) {}

void ApiClient::setDeviceNameProvider(std::function<QString()> provider) {
    m_deviceName = provider ? std::move(provider) : defaultDeviceName;
}

QNetworkRequest ApiClient::buildRequest(const QString& path, bool withBody) const {
    QNetworkRequest request(urlFor(path));
    request.setTransferTimeout(int(Timing::current().requestTimeout.count()));
    // The bearer key must never travel to another host.
    request.setAttribute(QNetworkRequest::RedirectPolicyAttribute,
                         QNetworkRequest::SameOriginRedirectPolicy);
    request.setRawHeader("Authorization", "Bearer " + m_apiKey.value_or(QString()).toUtf8());
    if (withBody)
        request.setRawHeader("Content-Type", kJson);
    request.setRawHeader("Accept", kJson);
    request.setRawHeader("User-Agent", Configuration::userAgent().toUtf8());
    return request;
}

template <typename T>
QCoro::Task<ApiResult<T>> ApiClient::call(QByteArray method, QString path,
                                          std::optional<QJsonObject> body, Decoder<T> decode,
                                          Cancellation cancel) {
    if (!m_apiKey || m_apiKey->isEmpty())
        co_return ApiError::of(ApiError::Kind::missingCredential);
    if (!isUsableApiKey(*m_apiKey))
        co_return ApiError::of(ApiError::Kind::invalidCredential); // never put into a header
    const QNetworkRequest request = buildRequest(path, body.has_value());
    const QByteArray payload =
        body ? QJsonDocument(*body).toJson(QJsonDocument::Compact) : QByteArray();
    auto raw = co_await execute(request, method, payload, cancel);
    if (!raw)
        co_return raw.error();
    if (raw.value().size() < kDecodeOnWorkerFrom)
        co_return decodeBody<T>(logPathOf(request), raw.value(), decode);
    // A large answer (thousands of live visitors) is parsed on a worker thread,
    // so the window keeps drawing; decoding touches nothing but its input.
    // (Each step named: g++ 12 ends a temporary awaited in a co_return too early.)
    QFuture<ApiResult<T>> decoding =
        QtConcurrent::run([logPath = logPathOf(request), body = raw.value(), decode] {
            return decodeBody<T>(logPath, body, decode);
        });
    ApiResult<T> decoded = co_await decoding;
    co_return decoded;
}

template <typename T>
ApiResult<T> ApiClient::decodeBody(const QString& logPath, const QByteArray& body,
                                   const Decoder<T>& decode) {
    try {
        return decode(parseBodyObject(body));
    } catch (const WireError& error) {
        const QByteArray head = body.left(400);
        const QString preview = strictUtf8(head).value_or(QStringLiteral("<binary>"));
        qCWarning(lcApiClient).noquote() << QStringLiteral("decode error on %1: %2 — body: %3")
                                                .arg(logPath, error.description(), preview);
        return ApiError::decoding(error.description());
    }
}

QCoro::Task<ApiResult<QByteArray>> ApiClient::execute(QNetworkRequest request, QByteArray method,
                                                      QByteArray body, Cancellation cancel) {
    const QString logPath = logPathOf(request);
    const QString logMethod =
        method.isEmpty() ? QStringLiteral("GET") : QString::fromLatin1(method);

    QNetworkReply* reply = body.isEmpty() && method != kPost && method != kPut
                               ? m_network->sendCustomRequest(request, method)
                               : m_network->sendCustomRequest(request, method, body);
    cancel.track(reply);
    // A body past the cap is not read to its end: the reply stops where it is.
    bool tooLarge = false;
    const auto watch =
        QObject::connect(reply, &QNetworkReply::downloadProgress, reply,
                         [reply, &tooLarge](qint64 received, qint64 total) {
                             if (!tooLarge && (received > kMaxBodyBytes || total > kMaxBodyBytes)) {
                                 tooLarge = true;
                                 reply->abort();
                             }
                         });
    bool overdue = false;
    QTimer deadline;
    deadline.setSingleShot(true);
    deadline.setTimerType(Qt::CoarseTimer);
    QObject::connect(&deadline, &QTimer::timeout, reply, [reply, &overdue] {
        overdue = true;
        reply->abort();
    });
    deadline.start(Timing::current().requestDeadline);
    co_await reply;
    deadline.stop();
    QObject::disconnect(watch); // only ours: Qt's own connections to the reply stay
    reply->deleteLater();
    if (overdue) {
        const QString description =
            QStringLiteral("the answer did not complete within %1 s and was abandoned")
                .arg(std::chrono::duration_cast<std::chrono::seconds>(
                         Timing::current().requestDeadline)
                         .count());
        qCWarning(lcApiClient).noquote()
            << QStringLiteral("%1 %2 — %3").arg(logMethod, logPath, description);
        co_return ApiError::transport(description);
    }
    if (tooLarge) {
        const QString description =
            QStringLiteral("the answer is larger than %1 MiB and was not read").arg(kMaxBodyMiB);
        qCWarning(lcApiClient).noquote()
            << QStringLiteral("%1 %2 — %3").arg(logMethod, logPath, description);
        co_return ApiError::decoding(description);
    }

    const QVariant statusAttribute = reply->attribute(QNetworkRequest::HttpStatusCodeAttribute);
    // Errors below 100 are the network's (refused, reset, timed out, cut off
    // mid-body, redirected off origin); a status that came before them does
    // not make the body whole.
    const bool networkFailed = reply->error() > QNetworkReply::NoError &&
                               reply->error() < QNetworkReply::ContentAccessDenied;
    if (!statusAttribute.isValid() || networkFailed) {
        if (!networkFailed)
            co_return ApiError::of(ApiError::Kind::invalidResponse);
        const QString description = reply->errorString();
        qCWarning(lcApiClient).noquote()
            << QStringLiteral("%1 %2 — transport error: %3").arg(logMethod, logPath, description);
        co_return ApiError::transport(description);
    }

    const int status = statusAttribute.toInt();
    const QByteArray responseBody = reply->readAll();
    // One arg() call: an escaped path such as "%2F" is text, not a placeholder.
    qCInfo(lcApiClient).noquote() << QStringLiteral("%1 %2 → %3 (%4 bytes)")
                                         .arg(logMethod, logPath, QString::number(status),
                                              QString::number(responseBody.size()));
    if (status >= 200 && status <= 299)
        co_return responseBody;
    switch (status) {
    case 401:
        co_return ApiError::of(ApiError::Kind::unauthorized);
    case 403:
        co_return ApiError::of(ApiError::Kind::forbidden);
    case 404:
        co_return ApiError::of(ApiError::Kind::notFound);
    default:
        co_return ApiError::http(status, strictUtf8(responseBody).value_or(QString()));
    }
}

// ---- account -------------------------------------------------------------

QCoro::Task<ApiResult<User>> ApiClient::fetchMe(Cancellation cancel) {
    Decoder<User> decode = [](const QJsonObject& top) {
        return decodeRecord<User>(top, WirePath{});
    };
    co_return co_await call<User>(kGet, QStringLiteral("/api/v2/me"), std::nullopt, decode, cancel);
}

QCoro::Task<ApiResult<QList<Project>>> ApiClient::fetchProjects(Cancellation cancel) {
    const QUrl base = Configuration::baseURL();
    Decoder<QList<Project>> decode =
        listOf("projects", [base](const QJsonValue& v, const WirePath& p) {
            return decodeRecord<ProjectDTO>(v, p).toModel(base);
        });
    co_return co_await call<QList<Project>>(kGet, QStringLiteral("/api/v2/projects"), std::nullopt,
                                            decode, cancel);
}

QCoro::Task<ApiResult<QList<Client>>> ApiClient::fetchClients(Cancellation cancel) {
    Decoder<QList<Client>> decode = listOf("clients", decodeRecord<Client>);
    co_return co_await call<QList<Client>>(kGet, QStringLiteral("/api/v2/clients"), std::nullopt,
                                           decode, cancel);
}

// ---- conversations and visitors ------------------------------------------

QCoro::Task<ApiResult<QList<Conversation>>>
ApiClient::fetchConversations(std::optional<QString> projectID, std::optional<QString> status,
                              qint64 limit, Cancellation cancel) {
    QString path = QStringLiteral("/api/v2/inbox");
    if (projectID) {
        auto p = projectPath({*projectID}, {"conversations"});
        if (auto* error = std::get_if<ApiError>(&p))
            co_return *error;
        path = std::get<QString>(p);
    }
    path += QStringLiteral("?limit=%1").arg(limit);
    if (status && *status != u"all")
        path += QStringLiteral("&status=") + QString::fromLatin1(QUrl::toPercentEncoding(*status));
    Decoder<QList<Conversation>> decode = decodeConversationList;
    co_return co_await call<QList<Conversation>>(kGet, path, std::nullopt, decode, cancel);
}

QCoro::Task<ApiResult<QList<Visitor>>>
ApiClient::fetchLiveVisitors(std::optional<QString> projectID, Cancellation cancel) {
    QString path = QStringLiteral("/api/v2/visitors/live");
    if (projectID) {
        auto p = projectPath({*projectID}, {"visitors/live"});
        if (auto* error = std::get_if<ApiError>(&p))
            co_return *error;
        path = std::get<QString>(p);
    }
    Decoder<QList<Visitor>> decode = decodeVisitorList;
    co_return co_await call<QList<Visitor>>(kGet, path, std::nullopt, decode, cancel);
}

QCoro::Task<ApiResult<ConversationDetail>>
ApiClient::fetchConversationDetail(QString projectID, QString conversationID, Cancellation cancel) {
    auto p = projectPath({projectID, conversationID}, {"conversations", nullptr});
    if (auto* error = std::get_if<ApiError>(&p))
        co_return *error;
    Decoder<ConversationDetail> decode = [](const QJsonObject& top) {
        const WireObject o(top, WirePath{});
        ConversationDetail detail;
        detail.conversation = decodeRecord<ConversationDTO>(o.value("conversation"),
                                                            WirePath{nullptr, "conversation"})
                                  .toModel(now());
        detail.messages = decodeMessageList(o, "messages");
        return detail;
    };
    co_return co_await call<ConversationDetail>(kGet, std::get<QString>(p), std::nullopt, decode,
                                                cancel);
}

QCoro::Task<ApiResult<void>>
ApiClient::resolveConversation(QString projectID, QString conversationID, Cancellation cancel) {
    auto p = projectPath({projectID, conversationID}, {"conversations", "resolve"});
    if (auto* error = std::get_if<ApiError>(&p))
        co_return *error;
    Decoder<bool> decode = [](const QJsonObject& top) {
        decodeResolveResponse(top, WirePath{});
        return true;
    };
    auto result = co_await call<bool>(kPost, std::get<QString>(p), QJsonObject(), decode, cancel);
    if (!result)
        co_return result.error();
    co_return ApiResult<void>();
}

QCoro::Task<ApiResult<SendMessageResult>> ApiClient::sendMessage(QString projectID,
                                                                 QString conversationID,
                                                                 QString text, bool resolveAfter,
                                                                 Cancellation cancel) {
    auto p = projectPath({projectID, conversationID}, {"conversations", "send"});
    if (auto* error = std::get_if<ApiError>(&p))
        co_return *error;
    const QJsonObject body = encodeRecord(SendMessageRequest{text, resolveAfter});
    Decoder<SendMessageResult> decode = [](const QJsonObject& top) {
        return decodeRecord<SendMessageResponseDTO>(top, WirePath{}).toModel(now());
    };
    co_return co_await call<SendMessageResult>(kPost, std::get<QString>(p), body, decode, cancel);
}

QCoro::Task<ApiResult<TranslationResult>>
ApiClient::translate(QString text, QString target, QString source, Cancellation cancel) {
    const QJsonObject body = encodeRecord(TranslateRequest{text, target, source});
    Decoder<TranslationResult> decode = [](const QJsonObject& top) {
        return decodeRecord<TranslationResult>(top, WirePath{});
    };
    co_return co_await call<TranslationResult>(kPost, QStringLiteral("/api/v2/translate"), body,
                                               decode, cancel);
}

// ---- statistics ------------------------------------------------------------

namespace {

ProjectStats decodeStats(const QJsonObject& top) {
    return decodeRecord<ProjectStatsDTO>(top, WirePath{}).toModel(now());
}

} // namespace

QCoro::Task<ApiResult<ProjectStats>> ApiClient::fetchStats(QString projectID, qint64 days,
                                                           Cancellation cancel) {
    auto p = projectPath({projectID}, {"stats"});
    if (auto* error = std::get_if<ApiError>(&p))
        co_return *error;
    const QString path = std::get<QString>(p) + QStringLiteral("?days=%1").arg(days);
    co_return co_await call<ProjectStats>(kGet, path, std::nullopt, decodeStats, cancel);
}

QCoro::Task<ApiResult<ProjectStats>> ApiClient::fetchAggregateStats(qint64 days,
                                                                    Cancellation cancel) {
    const QString path = QStringLiteral("/api/v2/stats?days=%1").arg(days);
    co_return co_await call<ProjectStats>(kGet, path, std::nullopt, decodeStats, cancel);
}

// ---- notification preferences ------------------------------------------------

QCoro::Task<ApiResult<QList<NotificationPref>>>
ApiClient::fetchNotificationPrefs(Cancellation cancel) {
    Decoder<QList<NotificationPref>> decode = listOf("prefs", decodeRecord<NotificationPref>);
    co_return co_await call<QList<NotificationPref>>(
        kGet, QStringLiteral("/api/v2/notification-prefs"), std::nullopt, decode, cancel);
}

QCoro::Task<ApiResult<NotificationPref>>
ApiClient::updateNotificationPref(QString projectID, bool muted, Cancellation cancel) {
    const QJsonObject body = encodeRecord(NotificationPrefUpdate{projectID, muted});
    Decoder<NotificationPref> decode = [](const QJsonObject& top) {
        return decodeRecord<NotificationPref>(top, WirePath{});
    };
    co_return co_await call<NotificationPref>(kPut, QStringLiteral("/api/v2/notification-prefs"),
                                              body, decode, cancel);
}

// ---- snippets ----------------------------------------------------------------

namespace {

Snippet decodeSavedSnippet(const QJsonObject& top) {
    return decodeRecord<SnippetDTO>(top, WirePath{}).toModel();
}

} // namespace

QCoro::Task<ApiResult<QList<Snippet>>> ApiClient::fetchSnippets(QString projectID,
                                                                Cancellation cancel) {
    auto p = projectPath({projectID}, {"snippets"});
    if (auto* error = std::get_if<ApiError>(&p))
        co_return *error;
    Decoder<QList<Snippet>> decode =
        listOf("snippets", [](const QJsonValue& v, const WirePath& path) {
            return decodeRecord<SnippetDTO>(v, path).toListedModel();
        });
    co_return co_await call<QList<Snippet>>(kGet, std::get<QString>(p), std::nullopt, decode,
                                            cancel);
}

QCoro::Task<ApiResult<Snippet>> ApiClient::createSnippet(QString projectID, QString shortcut,
                                                         QString title, QString body, QString emoji,
                                                         Cancellation cancel) {
    auto p = projectPath({projectID}, {"snippets"});
    if (auto* error = std::get_if<ApiError>(&p))
        co_return *error;
    const QJsonObject fields = encodeRecord(SnippetFields{shortcut, title, body, emoji});
    co_return co_await call<Snippet>(kPost, std::get<QString>(p), fields, decodeSavedSnippet,
                                     cancel);
}

QCoro::Task<ApiResult<Snippet>> ApiClient::updateSnippet(QString projectID, QString snippetID,
                                                         QString shortcut, QString title,
                                                         QString body, QString emoji,
                                                         Cancellation cancel) {
    auto p = projectPath({projectID, snippetID}, {"snippets", nullptr});
    if (auto* error = std::get_if<ApiError>(&p))
        co_return *error;
    const QJsonObject fields = encodeRecord(SnippetFields{shortcut, title, body, emoji});
    co_return co_await call<Snippet>(kPut, std::get<QString>(p), fields, decodeSavedSnippet,
                                     cancel);
}

QCoro::Task<ApiResult<void>> ApiClient::deleteSnippet(QString projectID, QString snippetID,
                                                      Cancellation cancel) {
    auto p = projectPath({projectID, snippetID}, {"snippets", nullptr});
    if (auto* error = std::get_if<ApiError>(&p))
        co_return *error;
    Decoder<bool> decode = [](const QJsonObject& top) {
        decodeOkResponse(top, WirePath{});
        return true;
    };
    auto result = co_await call<bool>(kDelete, std::get<QString>(p), std::nullopt, decode, cancel);
    if (!result)
        co_return result.error();
    co_return ApiResult<void>();
}

// ---- sign-in -------------------------------------------------------------------

QCoro::Task<ApiResult<SignInExchange>> ApiClient::exchangeOAuthCode(QString code, QString state,
                                                                    Cancellation cancel) {
    const QUrl url = urlFor(QStringLiteral("/oauth/device/exchange"));
    qCInfo(lcApiClient).noquote()
        << QStringLiteral("exchangeOAuthCode → POST %1").arg(url.toString(QUrl::FullyEncoded));
    QNetworkRequest request(url);
    request.setTransferTimeout(int(Timing::current().requestTimeout.count()));
    request.setAttribute(QNetworkRequest::RedirectPolicyAttribute,
                         QNetworkRequest::SameOriginRedirectPolicy);
    request.setRawHeader("Content-Type", kJson);
    request.setRawHeader("User-Agent", Configuration::userAgent().toUtf8());
    QString device = m_deviceName();
    if (device.isEmpty())
        device = QStringLiteral("Mac");
    request.setRawHeader("X-Device-Hostname", device.toUtf8());
    const QJsonObject body = encodeRecord(CodeExchangeRequest{code, state});

    const QByteArray payload = QJsonDocument(body).toJson(QJsonDocument::Compact);
    auto raw = co_await execute(request, kPost, payload, cancel);
    ApiResult<SignInExchange> result =
        raw ? decodeBody<SignInExchange>(
                  logPathOf(request), raw.value(),
                  [](const QJsonObject& top) {
                      const WireObject o(top, WirePath{});
                      return SignInExchange{
                          o.string("apiKey"),
                          decodeRecord<User>(o.value("user"), WirePath{nullptr, "user"})};
                  })
            : ApiResult<SignInExchange>(raw.error());
    // A key that would break the header it travels in is no key: the sign-in fails.
    if (result && !isUsableApiKey(result->apiKey))
        result = ApiError::of(ApiError::Kind::invalidCredential);
    if (result) {
        qCInfo(lcApiClient).noquote()
            << QStringLiteral("exchangeOAuthCode: success user=%1").arg(result->user.email);
    } else {
        qCWarning(lcApiClient).noquote() << QStringLiteral("exchangeOAuthCode failed: %1")
                                                .arg(result.error().errorDescription());
    }
    co_return result;
}

} // namespace kv
