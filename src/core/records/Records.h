#pragma once

// The domain records every part of the console works with. They are plain
// values: built from wire records (see WireRecords.h) and by the application
// state, compared and hashed over all their fields.

#include <QDateTime>
#include <QHashFunctions>
#include <QList>
#include <QString>
#include <QStringList>
#include <QUrl>

#include "Enums.h"

#include <optional>

namespace kv {

QString wireText(ConversationStatus status);
QString wireText(MessageRole role);
// Unknown texts fall back to `active` and `system` respectively.
ConversationStatus conversationStatusFromWire(const QString& text);
MessageRole messageRoleFromWire(const QString& text);

struct Project {
    QString id;
    QString name;
    QString websiteURL;
    QString emoji;
    std::optional<QUrl> logoURL;
    std::optional<QString> widgetColor;
    std::optional<QString> clientID;
    qint64 unreadCount = 0;
    qint64 liveVisitorCount = 0;
    bool operator==(const Project&) const = default;
};

struct Client {
    QString id;
    QString name;
    std::optional<QString> emoji;
    bool operator==(const Client&) const = default;
};

struct RetrievedChunk {
    QString id;
    QString title;
    QString snippet;
    double score = 0;
    QString sourceURL;
    bool operator==(const RetrievedChunk&) const = default;
};

struct Conversation {
    QString id;
    QString projectID;
    std::optional<QString> visitorName;
    std::optional<QString> visitorCountry;
    ConversationStatus status = ConversationStatus::active;
    QString lastMessagePreview;
    QDateTime lastMessageAt;
    qint64 messageCount = 0;
    bool hasUnread = false;
    std::optional<qint64> rating;
    QStringList tags;
    QDateTime startedAt;
    std::optional<QString> aiEscalationReason;
    QList<RetrievedChunk> aiRetrievedChunks;
    std::optional<QString> aiSuggestedReply;
    bool operator==(const Conversation&) const = default;
};

struct Message {
    QString id;
    QString conversationID;
    MessageRole role = MessageRole::system;
    QString content;
    QDateTime createdAt;
    std::optional<QString> detectedLanguage;
    std::optional<QString> translation;
    bool operator==(const Message&) const = default;
};

struct Visitor {
    QString visitorID;
    QString projectID;
    QString pageURL;
    std::optional<QString> pageTitle;
    std::optional<QString> country;
    std::optional<QString> city;
    std::optional<QString> browser;
    std::optional<QString> os;
    QDateTime lastSeen;
    QDateTime firstSeen;
    bool hasConversation = false;
    qint64 pagesThisSession = 0;
    qint64 timeOnSiteSeconds = 0;
    bool isReturning = false;
    qint64 previousConversations = 0;
    std::optional<QString> referrer;
    bool operator==(const Visitor&) const = default;
};

struct Snippet {
    QString id;
    QString shortcut;
    QString title;
    QString body;
    QString emoji;
    bool operator==(const Snippet&) const = default;

    // English name of a language code for the screens; unknown codes come back upper-cased.
    static QString languageName(const QString& code);
};

struct NotificationPref {
    QString projectID;
    bool muted = false;
    bool muteEscalation = false;
    bool muteNewMessage = false;
    bool muteVisitorOnline = false;
    bool operator==(const NotificationPref&) const = default;
};

struct StatsBucket {
    QDateTime day;
    qint64 conversations = 0;
    qint64 messages = 0;
    bool operator==(const StatsBucket&) const = default;
};

struct TopAgent {
    QString projectID;
    QString name;
    std::optional<QString> websiteURL;
    std::optional<QString> widgetHeaderIcon;
    qint64 conversations = 0;
    bool operator==(const TopAgent&) const = default;
};

struct ProjectStats {
    QString projectID;
    qint64 days = 0;
    qint64 conversations = 0;
    qint64 messages = 0;
    qint64 uniqueVisitors = 0;
    double resolutionRate = 0;
    qint64 prevConversations = 0;
    QList<StatsBucket> buckets;
    std::optional<double> avgRating;
    qint64 ratingCount = 0;
    QList<TopAgent> topAgents;
    bool operator==(const ProjectStats&) const = default;
};

struct User {
    QString id;
    QString email;
    QString name;
    bool isAdmin = false;
    bool isAgency = false;
    bool operator==(const User&) const = default;
};

struct ConversationDetail {
    Conversation conversation;
    QList<Message> messages;
};

struct SendMessageResult {
    Message message;
    QString conversationStatus;
    QDateTime conversationLastMessageAt;
    bool operator==(const SendMessageResult&) const = default;
};

struct TranslationResult {
    QString translation;
    QString detectedSource;
    bool operator==(const TranslationResult&) const = default;
};

// Target language of message translation, stored by its raw text.
enum class TranslationLanguage { system, en, es, fr, de, it, nl, da, sv, fi, no, pt };

QList<TranslationLanguage> allTranslationLanguages();
QString rawText(TranslationLanguage language);
std::optional<TranslationLanguage> translationLanguageFromRaw(const QString& raw);
// The translation engine's code; none for `system`, "nb" for Norwegian.
std::optional<QString> argosCode(TranslationLanguage language);
QString displayName(TranslationLanguage language);

size_t qHash(const Project& v, size_t seed = 0) noexcept;
size_t qHash(const Client& v, size_t seed = 0) noexcept;
size_t qHash(const RetrievedChunk& v, size_t seed = 0) noexcept;
size_t qHash(const Conversation& v, size_t seed = 0) noexcept;
size_t qHash(const Message& v, size_t seed = 0) noexcept;
size_t qHash(const Visitor& v, size_t seed = 0) noexcept;
size_t qHash(const Snippet& v, size_t seed = 0) noexcept;
size_t qHash(const NotificationPref& v, size_t seed = 0) noexcept;
size_t qHash(const StatsBucket& v, size_t seed = 0) noexcept;
size_t qHash(const TopAgent& v, size_t seed = 0) noexcept;
size_t qHash(const User& v, size_t seed = 0) noexcept;

} // namespace kv
