#include "SimData.h"

#include <QJsonArray>

// The simulated records in the JSON forms the service writes.

namespace kv::sim {

QString wireTime(const QDateTime& t) {
    return t.toUTC().toString(QStringLiteral("yyyy-MM-dd'T'HH:mm:ss.zzz'Z'"));
}

namespace {

void putOptional(QJsonObject& o, const char* key, const std::optional<QString>& value) {
    if (value)
        o.insert(QLatin1StringView(key), *value);
}

} // namespace

QJsonObject toJson(const SimUser& u) {
    return {{"id", u.id},
            {"email", u.email},
            {"name", u.name},
            {"is_admin", u.isAdmin},
            {"is_agency", u.isAgency}};
}

QJsonObject toJson(const SimClient& c) {
    return {{"id", c.id}, {"name", c.name}};
}

QJsonObject toJson(const SimProject& p, const SimData& data) {
    qint64 unread = 0, live = 0;
    for (const auto& c : data.conversations)
        unread += (c.projectId == p.id && c.hasUnread) ? 1 : 0;
    for (const auto& v : data.visitors)
        live += v.projectId == p.id ? 1 : 0;
    QJsonObject o{
        {"id", p.id}, {"name", p.name}, {"unread_count", unread}, {"live_visitor_count", live}};
    putOptional(o, "website_url", p.websiteUrl);
    putOptional(o, "widget_color", p.widgetColor);
    putOptional(o, "widget_header_icon", p.widgetHeaderIcon);
    putOptional(o, "widget_logo_url", p.widgetLogoUrl);
    putOptional(o, "client_id", p.clientId);
    return o;
}

QJsonObject toJson(const SimConversation& c) {
    QJsonArray chunks;
    for (const auto& k : c.chunks) {
        chunks.append(QJsonObject{{"id", k.id},
                                  {"title", k.title},
                                  {"snippet", k.snippet},
                                  {"score", k.score},
                                  {"source_url", k.sourceUrl}});
    }
    QJsonObject o{{"id", c.id},
                  {"project_id", c.projectId},
                  {"status", c.status},
                  {"last_message_preview", c.lastMessagePreview()},
                  {"message_count", c.messages.size()},
                  {"has_unread", c.hasUnread},
                  {"tags", QJsonArray::fromStringList(c.tags)},
                  {"started_at", wireTime(c.startedAt)},
                  {"ai_retrieved_chunks", chunks}};
    putOptional(o, "visitor_name", c.visitorName);
    putOptional(o, "visitor_country", c.visitorCountry);
    if (!c.messages.isEmpty())
        o.insert("last_message_at", wireTime(c.lastMessageAt()));
    if (c.rating)
        o.insert("rating", *c.rating);
    putOptional(o, "ai_escalation_reason", c.aiEscalationReason);
    putOptional(o, "ai_suggested_reply", c.aiSuggestedReply);
    return o;
}

QJsonObject toJson(const SimMessage& m) {
    QJsonObject o{{"id", m.id},
                  {"conversation_id", m.conversationId},
                  {"role", m.role},
                  {"content", m.content},
                  {"created_at", wireTime(m.createdAt)}};
    putOptional(o, "detected_language", m.detectedLanguage);
    putOptional(o, "translation", m.translation);
    return o;
}

QJsonObject toJson(const SimVisitor& v) {
    QJsonObject o{{"visitor_id", v.visitorId},
                  {"project_id", v.projectId},
                  {"page_url", v.pageUrl},
                  {"last_seen", wireTime(v.lastSeen)},
                  {"first_seen", wireTime(v.firstSeen)},
                  {"has_conversation", v.hasConversation},
                  {"pages_this_session", v.pagesThisSession},
                  {"time_on_site_seconds", v.timeOnSiteSeconds},
                  {"is_returning", v.isReturning},
                  {"previous_conversations", v.previousConversations}};
    putOptional(o, "page_title", v.pageTitle);
    putOptional(o, "country", v.country);
    putOptional(o, "city", v.city);
    putOptional(o, "browser", v.browser);
    putOptional(o, "os", v.os);
    putOptional(o, "referrer", v.referrer);
    return o;
}

QJsonObject toJson(const SimSnippet& s) {
    return {{"id", s.id},
            {"shortcut", s.shortcut},
            {"title", s.title},
            {"body", s.body},
            {"emoji", s.emoji}};
}

QJsonObject toJson(const SimPref& p) {
    return {{"project_id", p.projectId},
            {"muted", p.muted},
            {"mute_escalation", p.muteEscalation},
            {"mute_new_message", p.muteNewMessage},
            {"mute_visitor_online", p.muteVisitorOnline}};
}

} // namespace kv::sim
