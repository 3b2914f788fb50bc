#pragma once

// The service's JSON records, one to one, and their conversion into domain
// records. Nothing outside the REST client sees these types.

#include "Records.h"
#include "WireReader.h"

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

    static ProjectDTO decode(const QJsonValue& v, const WirePath& path);
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

    static ConversationDTO decode(const QJsonValue& v, const WirePath& path);
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

    static MessageDTO decode(const QJsonValue& v, const WirePath& path);
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

    static VisitorDTO decode(const QJsonValue& v, const WirePath& path);
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

    static ProjectStatsDTO decode(const QJsonValue& v, const WirePath& path);
    ProjectStats toModel(const QDateTime& now) const;
};

struct SnippetDTO {
    QString id;
    QString shortcut;
    QString title;
    QString body;
    QString emoji;

    static SnippetDTO decode(const QJsonValue& v, const WirePath& path);
    // As listed: an empty emoji shows the speech balloon.
    Snippet toListedModel() const;
    // As returned by create/update: copied field by field.
    Snippet toModel() const;
};

struct SendMessageResponseDTO {
    MessageDTO message;
    QString conversationStatus;
    std::optional<QDateTime> conversationLastMessageAt;

    static SendMessageResponseDTO decode(const QJsonValue& v, const WirePath& path);
    SendMessageResult toModel(const QDateTime& now) const;
};

// Records copied field by field need no separate wire form.
User decodeUser(const QJsonValue& v, const WirePath& path);
Client decodeClient(const QJsonValue& v, const WirePath& path);
RetrievedChunk decodeRetrievedChunk(const QJsonValue& v, const WirePath& path);
NotificationPref decodeNotificationPref(const QJsonValue& v, const WirePath& path);
TopAgent decodeTopAgent(const QJsonValue& v, const WirePath& path);
TranslationResult decodeTranslation(const QJsonValue& v, const WirePath& path);
// Read for shape only; their content is discarded.
void decodeResolveResponse(const QJsonValue& v, const WirePath& path);
void decodeOkResponse(const QJsonValue& v, const WirePath& path);

// The header icon names the service knows, as emoji; anything else is the robot.
QString emojiForHeaderIcon(const std::optional<QString>& icon);

} // namespace kv
