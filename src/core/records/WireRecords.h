#pragma once

// The service's JSON records, one to one, and their conversion into domain
// records. Nothing outside the REST client sees these types.

#include "Records.h"
#include "WireFields.h"

namespace kv {

struct ProjectDTO {
    QString id;
    QString name;
    std::optional<QString> websiteUrl;
    std::optional<QString> widgetColor;
    std::optional<QString> widgetHeaderIcon;
    std::optional<QString> widgetLogoUrl;
    std::optional<QString> clientId;
    qint64 unreadCount = 0;
    qint64 liveVisitorCount = 0;

    // Logo addresses are resolved against the service origin.
    Project toModel(const QUrl& baseURL) const;
};

struct ConversationDTO {
    QString id;
    QString projectId;
    std::optional<QString> visitorName;
    std::optional<QString> visitorCountry;
    QString status;
    QString lastMessagePreview;
    std::optional<QDateTime> lastMessageAt;
    qint64 messageCount = 0;
    bool hasUnread = false;
    std::optional<qint64> rating;
    QStringList tags;
    std::optional<QDateTime> startedAt;
    std::optional<QString> aiEscalationReason;
    QList<RetrievedChunk> aiRetrievedChunks;
    std::optional<QString> aiSuggestedReply;

    Conversation toModel(const QDateTime& now) const;
};

struct MessageDTO {
    QString id;
    QString conversationId;
    QString role;
    QString content;
    std::optional<QDateTime> createdAt;
    std::optional<QString> detectedLanguage;
    std::optional<QString> translation;

    Message toModel(const QDateTime& now) const;
};

struct VisitorDTO {
    QString visitorId;
    QString projectId;
    QString pageUrl;
    std::optional<QString> pageTitle;
    std::optional<QString> country;
    std::optional<QString> city;
    std::optional<QString> browser;
    std::optional<QString> os;
    std::optional<QDateTime> lastSeen;
    std::optional<QDateTime> firstSeen;
    bool hasConversation = false;
    qint64 pagesThisSession = 0;
    qint64 timeOnSiteSeconds = 0;
    bool isReturning = false;
    qint64 previousConversations = 0;
    std::optional<QString> referrer;

    Visitor toModel(const QDateTime& now) const;
};

struct StatsBucketDTO {
    QString day;
    qint64 conversations = 0;
    qint64 messages = 0;
};

struct ProjectStatsDTO {
    QString projectId;
    qint64 days = 0;
    qint64 conversations = 0;
    qint64 messages = 0;
    qint64 uniqueVisitors = 0;
    double resolutionRate = 0;
    qint64 prevConversations = 0;
    std::optional<double> avgRating;
    qint64 ratingCount = 0;
    QList<StatsBucketDTO> buckets;
    std::optional<QList<TopAgent>> topAgents;

    ProjectStats toModel(const QDateTime& now) const;
};

struct SnippetDTO {
    QString id;
    QString shortcut;
    QString title;
    QString body;
    QString emoji;

    // As listed: an empty emoji shows the speech balloon.
    Snippet toListedModel() const;
    // As returned by create/update: copied field by field.
    Snippet toModel() const;
};

struct SendMessageResponseDTO {
    MessageDTO message;
    QString conversationStatus;
    std::optional<QDateTime> conversationLastMessageAt;

    SendMessageResult toModel(const QDateTime& now) const;
};

// Every record above, and those copied field by field (which need no separate
// wire form), is read by decodeRecord<R> over its fields' description in WireRecords.cpp.
// clang-format off
#define KV_WIRE_RECORDS(X) \
    X(ProjectDTO) \
    X(ConversationDTO) \
    X(MessageDTO) \
    X(VisitorDTO) \
    X(StatsBucketDTO) \
    X(ProjectStatsDTO) \
    X(SnippetDTO) \
    X(SendMessageResponseDTO) \
    X(User) \
    X(Client) \
    X(RetrievedChunk) \
    X(NotificationPref) \
    X(TopAgent) \
    X(TranslationResult)
// clang-format on
#define KV_WIRE_RECORD(R) extern template R decodeRecord<R>(const QJsonValue&, const WirePath&);
KV_WIRE_RECORDS(KV_WIRE_RECORD)
#undef KV_WIRE_RECORD

// The bodies the console sends, written by encodeRecord<R> over their
// descriptions in WireRecords.cpp.
struct SendMessageRequest {
    QString text;
    bool resolveAfter = false;
};

struct TranslateRequest {
    QString text;
    QString target;
    QString source;
};

struct NotificationPrefUpdate {
    QString projectID;
    bool muted = false;
};

struct SnippetFields {
    QString shortcut;
    QString title;
    QString body;
    QString emoji;
};

struct CodeExchangeRequest {
    QString code;
    QString state;
};

// clang-format off
#define KV_WIRE_BODIES(X) \
    X(SendMessageRequest) \
    X(TranslateRequest) \
    X(NotificationPrefUpdate) \
    X(SnippetFields) \
    X(CodeExchangeRequest)
// clang-format on
#define KV_WIRE_BODY(R) extern template QJsonObject encodeRecord<R>(const R&);
KV_WIRE_BODIES(KV_WIRE_BODY)
#undef KV_WIRE_BODY

// The list answers, decoded and mapped. A record without its time takes the
// instant the answer was read, one instant for the whole answer.
QList<Conversation> decodeConversationList(const QJsonObject& top);
QList<Visitor> decodeVisitorList(const QJsonObject& top);
QList<Message> decodeMessageList(const WireObject& top, const char* member);

// Read for shape only; their content is discarded.
void decodeResolveResponse(const QJsonValue& v, const WirePath& path);
void decodeOkResponse(const QJsonValue& v, const WirePath& path);

// The header icon names the service knows, as emoji; anything else is the robot.
QString emojiForHeaderIcon(const std::optional<QString>& icon);

} // namespace kv
