#include "RecordJson.h"

#include "records/IsoTime.h"

#include <QJsonArray>

namespace kv::cli {

namespace {

template <typename T>
void putOptional(QJsonObject& o, const char* key, const std::optional<T>& value) {
    if (value)
        o.insert(QLatin1StringView(key), *value);
}

QJsonValue instant(const QDateTime& t) {
    return formatInstant(t);
}

} // namespace

QJsonObject toJson(const User& v) {
    return {{"id", v.id},
            {"email", v.email},
            {"name", v.name},
            {"isAdmin", v.isAdmin},
            {"isAgency", v.isAgency}};
}

QJsonObject toJson(const Project& v) {
    QJsonObject o{{"id", v.id},
                  {"name", v.name},
                  {"websiteURL", v.websiteURL},
                  {"emoji", v.emoji},
                  {"unreadCount", v.unreadCount},
                  {"liveVisitorCount", v.liveVisitorCount}};
    if (v.logoURL)
        o.insert("logoURL", v.logoURL->toString(QUrl::FullyEncoded));
    putOptional(o, "widgetColor", v.widgetColor);
    putOptional(o, "clientID", v.clientID);
    return o;
}

QJsonObject toJson(const Client& v) {
    QJsonObject o{{"id", v.id}, {"name", v.name}};
    putOptional(o, "emoji", v.emoji);
    return o;
}

QJsonObject toJson(const Conversation& v) {
    QJsonArray chunks;
    for (const auto& c : v.aiRetrievedChunks) {
        chunks.append(QJsonObject{{"id", c.id},
                                  {"title", c.title},
                                  {"snippet", c.snippet},
                                  {"score", c.score},
                                  {"sourceURL", c.sourceURL}});
    }
    QJsonObject o{{"id", v.id},
                  {"projectID", v.projectID},
                  {"status", wireText(v.status)},
                  {"lastMessagePreview", v.lastMessagePreview},
                  {"lastMessageAt", instant(v.lastMessageAt)},
                  {"messageCount", v.messageCount},
                  {"hasUnread", v.hasUnread},
                  {"tags", QJsonArray::fromStringList(v.tags)},
                  {"startedAt", instant(v.startedAt)},
                  {"aiRetrievedChunks", chunks}};
    putOptional(o, "visitorName", v.visitorName);
    putOptional(o, "visitorCountry", v.visitorCountry);
    putOptional(o, "rating", v.rating);
    putOptional(o, "aiEscalationReason", v.aiEscalationReason);
    putOptional(o, "aiSuggestedReply", v.aiSuggestedReply);
    return o;
}

QJsonObject toJson(const Message& v) {
    QJsonObject o{{"id", v.id},
                  {"conversationID", v.conversationID},
                  {"role", wireText(v.role)},
                  {"content", v.content},
                  {"createdAt", instant(v.createdAt)}};
    putOptional(o, "detectedLanguage", v.detectedLanguage);
    putOptional(o, "translation", v.translation);
    return o;
}

QJsonObject toJson(const Visitor& v) {
    QJsonObject o{{"visitorID", v.visitorID},
                  {"projectID", v.projectID},
                  {"pageURL", v.pageURL},
                  {"lastSeen", instant(v.lastSeen)},
                  {"firstSeen", instant(v.firstSeen)},
                  {"hasConversation", v.hasConversation},
                  {"pagesThisSession", v.pagesThisSession},
                  {"timeOnSiteSeconds", v.timeOnSiteSeconds},
                  {"isReturning", v.isReturning},
                  {"previousConversations", v.previousConversations}};
    putOptional(o, "pageTitle", v.pageTitle);
    putOptional(o, "country", v.country);
    putOptional(o, "city", v.city);
    putOptional(o, "browser", v.browser);
    putOptional(o, "os", v.os);
    putOptional(o, "referrer", v.referrer);
    return o;
}

QJsonObject toJson(const Snippet& v) {
    return {{"id", v.id},
            {"shortcut", v.shortcut},
            {"title", v.title},
            {"body", v.body},
            {"emoji", v.emoji}};
}

QJsonObject toJson(const NotificationPref& v) {
    return {{"projectID", v.projectID},
            {"muted", v.muted},
            {"muteEscalation", v.muteEscalation},
            {"muteNewMessage", v.muteNewMessage},
            {"muteVisitorOnline", v.muteVisitorOnline}};
}

QJsonObject toJson(const ProjectStats& v) {
    QJsonArray buckets;
    for (const auto& b : v.buckets) {
        buckets.append(QJsonObject{
            {"day", instant(b.day)}, {"conversations", b.conversations}, {"messages", b.messages}});
    }
    QJsonArray top;
    for (const auto& t : v.topAgents) {
        QJsonObject row{
            {"projectID", t.projectID}, {"name", t.name}, {"conversations", t.conversations}};
        putOptional(row, "websiteURL", t.websiteURL);
        putOptional(row, "widgetHeaderIcon", t.widgetHeaderIcon);
        top.append(row);
    }
    QJsonObject o{{"projectID", v.projectID},
                  {"days", v.days},
                  {"conversations", v.conversations},
                  {"messages", v.messages},
                  {"uniqueVisitors", v.uniqueVisitors},
                  {"resolutionRate", v.resolutionRate},
                  {"prevConversations", v.prevConversations},
                  {"buckets", buckets},
                  {"ratingCount", v.ratingCount},
                  {"topAgents", top}};
    putOptional(o, "avgRating", v.avgRating);
    return o;
}

QJsonObject toJson(const SendMessageResult& v) {
    return {{"message", toJson(v.message)},
            {"conversationStatus", v.conversationStatus},
            {"conversationLastMessageAt", instant(v.conversationLastMessageAt)}};
}

QJsonObject toJson(const TranslationResult& v) {
    return {{"translation", v.translation}, {"detectedSource", v.detectedSource}};
}

} // namespace kv::cli
