#include "Records.h"

#include <array>

namespace kv {

namespace {

struct StatusText {
    ConversationStatus status;
    const char* text;
};
constexpr std::array statusTexts{
    StatusText{ConversationStatus::waiting, "waiting"},
    StatusText{ConversationStatus::active, "active"},
    StatusText{ConversationStatus::operatorActive, "operator_active"},
    StatusText{ConversationStatus::resolved, "resolved"},
};

struct RoleText {
    MessageRole role;
    const char* text;
};
constexpr std::array roleTexts{
    RoleText{MessageRole::user, "user"},
    RoleText{MessageRole::assistant, "assistant"},
    RoleText{MessageRole::operatorRole, "operator"},
    RoleText{MessageRole::system, "system"},
};

struct LanguageRow {
    TranslationLanguage language;
    const char* raw;
    const char* engineCode; // null for `system`
};
constexpr std::array languageRows{
    LanguageRow{TranslationLanguage::system, "system", nullptr},
    LanguageRow{TranslationLanguage::en, "en", "en"},
    LanguageRow{TranslationLanguage::es, "es", "es"},
    LanguageRow{TranslationLanguage::fr, "fr", "fr"},
    LanguageRow{TranslationLanguage::de, "de", "de"},
    LanguageRow{TranslationLanguage::it, "it", "it"},
    LanguageRow{TranslationLanguage::nl, "nl", "nl"},
    LanguageRow{TranslationLanguage::da, "da", "da"},
    LanguageRow{TranslationLanguage::sv, "sv", "sv"},
    LanguageRow{TranslationLanguage::fi, "fi", "fi"},
    LanguageRow{TranslationLanguage::no, "no", "nb"},
    LanguageRow{TranslationLanguage::pt, "pt", "pt"},
};

const LanguageRow& rowOf(TranslationLanguage language) {
    for (const auto& row : languageRows) {
        if (row.language == language)
            return row;
    }
    return languageRows.front();
}

template <typename T>
size_t hashOptional(const std::optional<T>& v, size_t seed) {
    return v ? qHashMulti(seed, 1, *v) : qHashMulti(seed, 0);
}

} // namespace

QString wireText(ConversationStatus status) {
    for (const auto& row : statusTexts) {
        if (row.status == status)
            return QString::fromLatin1(row.text);
    }
    return QStringLiteral("active");
}

QString wireText(MessageRole role) {
    for (const auto& row : roleTexts) {
        if (row.role == role)
            return QString::fromLatin1(row.text);
    }
    return QStringLiteral("system");
}

ConversationStatus conversationStatusFromWire(const QString& text) {
    for (const auto& row : statusTexts) {
        if (text == QLatin1StringView(row.text))
            return row.status;
    }
    return ConversationStatus::active;
}

MessageRole messageRoleFromWire(const QString& text) {
    for (const auto& row : roleTexts) {
        if (text == QLatin1StringView(row.text))
            return row.role;
    }
    return MessageRole::system;
}

QString Snippet::languageName(const QString& code) {
    static const std::array<std::pair<const char*, const char*>, 11> names{{
        {"da", "Danish"},
        {"de", "German"},
        {"nl", "Dutch"},
        {"sv", "Swedish"},
        {"fi", "Finnish"},
        {"no", "Norwegian"},
        {"fr", "French"},
        {"es", "Spanish"},
        {"it", "Italian"},
        {"en", "English"},
        {"pt", "Portuguese"},
    }};
    for (const auto& [key, name] : names) {
        if (code == QLatin1StringView(key))
            return QString::fromLatin1(name);
    }
    return code.toUpper();
}

QList<TranslationLanguage> allTranslationLanguages() {
    QList<TranslationLanguage> all;
    for (const auto& row : languageRows)
        all.append(row.language);
    return all;
}

QString rawText(TranslationLanguage language) {
    return QString::fromLatin1(rowOf(language).raw);
}

std::optional<TranslationLanguage> translationLanguageFromRaw(const QString& raw) {
    for (const auto& row : languageRows) {
        if (raw == QLatin1StringView(row.raw))
            return row.language;
    }
    return std::nullopt;
}

std::optional<QString> argosCode(TranslationLanguage language) {
    const auto& row = rowOf(language);
    if (!row.engineCode)
        return std::nullopt;
    return QString::fromLatin1(row.engineCode);
}

QString displayName(TranslationLanguage language) {
    if (language == TranslationLanguage::system)
        return QStringLiteral("Match system language");
    return Snippet::languageName(rawText(language));
}

size_t qHash(const Project& v, size_t seed) noexcept {
    seed = qHashMulti(seed, v.id, v.name, v.websiteURL, v.emoji, v.unreadCount, v.liveVisitorCount);
    seed = hashOptional(v.logoURL, seed);
    seed = hashOptional(v.widgetColor, seed);
    return hashOptional(v.clientID, seed);
}

size_t qHash(const Client& v, size_t seed) noexcept {
    return hashOptional(v.emoji, qHashMulti(seed, v.id, v.name));
}

size_t qHash(const RetrievedChunk& v, size_t seed) noexcept {
    return qHashMulti(seed, v.id, v.title, v.snippet, v.score, v.sourceURL);
}

size_t qHash(const Conversation& v, size_t seed) noexcept {
    seed = qHashMulti(seed, v.id, v.projectID, int(v.status), v.lastMessagePreview, v.lastMessageAt,
                      v.messageCount, v.hasUnread, v.tags, v.startedAt);
    seed = hashOptional(v.visitorName, seed);
    seed = hashOptional(v.visitorCountry, seed);
    seed = hashOptional(v.rating, seed);
    seed = hashOptional(v.aiEscalationReason, seed);
    seed = hashOptional(v.aiSuggestedReply, seed);
    for (const auto& chunk : v.aiRetrievedChunks)
        seed = qHash(chunk, seed);
    return seed;
}

size_t qHash(const Message& v, size_t seed) noexcept {
    seed = qHashMulti(seed, v.id, v.conversationID, int(v.role), v.content, v.createdAt);
    seed = hashOptional(v.detectedLanguage, seed);
    return hashOptional(v.translation, seed);
}

size_t qHash(const Visitor& v, size_t seed) noexcept {
    seed = qHashMulti(seed, v.visitorID, v.projectID, v.pageURL, v.lastSeen, v.firstSeen,
                      v.hasConversation, v.pagesThisSession, v.timeOnSiteSeconds, v.isReturning,
                      v.previousConversations);
    for (const auto* field : {&v.pageTitle, &v.country, &v.city, &v.browser, &v.os, &v.referrer})
        seed = hashOptional(*field, seed);
    return seed;
}

size_t qHash(const Snippet& v, size_t seed) noexcept {
    return qHashMulti(seed, v.id, v.shortcut, v.title, v.body, v.emoji);
}

size_t qHash(const NotificationPref& v, size_t seed) noexcept {
    return qHashMulti(seed, v.projectID, v.muted, v.muteEscalation, v.muteNewMessage,
                      v.muteVisitorOnline);
}

size_t qHash(const StatsBucket& v, size_t seed) noexcept {
    return qHashMulti(seed, v.day, v.conversations, v.messages);
}

size_t qHash(const TopAgent& v, size_t seed) noexcept {
    seed = qHashMulti(seed, v.projectID, v.name, v.conversations);
    seed = hashOptional(v.websiteURL, seed);
    return hashOptional(v.widgetHeaderIcon, seed);
}

size_t qHash(const User& v, size_t seed) noexcept {
    return qHashMulti(seed, v.id, v.email, v.name, v.isAdmin, v.isAgency);
}

} // namespace kv
