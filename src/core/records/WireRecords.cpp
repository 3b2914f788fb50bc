#include "WireRecords.h"

#include "IsoTime.h"

namespace kv {

ProjectDTO ProjectDTO::decode(const QJsonValue& v, const WirePath& path) {
    return readObject(v, path, [&](const WireObject& o) {
        ProjectDTO d;
        d.id = o.string("id");
        d.name = o.string("name");
        d.websiteUrl = o.optString("websiteUrl");
        d.widgetColor = o.optString("widgetColor");
        d.widgetHeaderIcon = o.optString("widgetHeaderIcon");
        d.widgetLogoUrl = o.optString("widgetLogoUrl");
        d.clientId = o.optString("clientId");
        d.unreadCount = o.integer("unreadCount");
        d.liveVisitorCount = o.integer("liveVisitorCount");
        return d;
    });
}

QString emojiForHeaderIcon(const std::optional<QString>& icon) {
    if (icon) {
        if (*icon == u"person")
            return QStringLiteral("\U0001F464");
        if (*icon == u"robot")
            return QStringLiteral("\U0001F916");
        if (*icon == u"headset")
            return QStringLiteral("\U0001F3A7");
        if (*icon == u"sparkles")
            return QStringLiteral("\u2728");
    }
    return QStringLiteral("\U0001F916");
}

Project ProjectDTO::toModel(const QUrl& baseURL) const {
    Project p;
    p.id = id;
    p.name = name;
    p.websiteURL = websiteUrl.value_or(QString());
    p.emoji = emojiForHeaderIcon(widgetHeaderIcon);
    if (widgetLogoUrl && !widgetLogoUrl->isEmpty()) {
        const QUrl relative(*widgetLogoUrl, QUrl::StrictMode);
        if (relative.isValid()) {
            const QUrl resolved = baseURL.resolved(relative);
            if (resolved.isValid() && !resolved.isRelative())
                p.logoURL = resolved;
        }
    }
    p.widgetColor = widgetColor;
    p.clientID = clientId;
    p.unreadCount = unreadCount;
    p.liveVisitorCount = liveVisitorCount;
    return p;
}

RetrievedChunk decodeRetrievedChunk(const QJsonValue& v, const WirePath& path) {
    return readObject(v, path, [&](const WireObject& o) {
        RetrievedChunk c;
        c.id = o.string("id");
        c.title = o.string("title");
        c.snippet = o.string("snippet");
        c.score = o.number("score");
        c.sourceURL = o.string("sourceUrl");
        return c;
    });
}

ConversationDTO ConversationDTO::decode(const QJsonValue& v, const WirePath& path) {
    return readObject(v, path, [&](const WireObject& o) {
        ConversationDTO d;
        // Required members first: once every key is matched, absent optionals cost nothing.
        d.id = o.string("id");
        d.projectId = o.string("projectId");
        d.status = o.string("status");
        d.lastMessagePreview = o.string("lastMessagePreview");
        d.messageCount = o.integer("messageCount");
        d.hasUnread = o.boolean("hasUnread");
        d.tags = o.stringArray("tags");
        d.aiRetrievedChunks = o.list("aiRetrievedChunks", decodeRetrievedChunk);
        d.lastMessageAt = o.optTime("lastMessageAt");
        d.startedAt = o.optTime("startedAt");
        d.visitorName = o.optString("visitorName");
        d.visitorCountry = o.optString("visitorCountry");
        d.rating = o.optInteger("rating");
        d.aiEscalationReason = o.optString("aiEscalationReason");
        d.aiSuggestedReply = o.optString("aiSuggestedReply");
        return d;
    });
}

Conversation ConversationDTO::toModel(const QDateTime& now) const {
    Conversation c;
    c.id = id;
    c.projectID = projectId;
    c.visitorName = visitorName;
    c.visitorCountry = visitorCountry;
    c.status = conversationStatusFromWire(status);
    c.lastMessagePreview = lastMessagePreview;
    // A conversation that never had a message sorts as the oldest.
    c.lastMessageAt = lastMessageAt.value_or(QDateTime::fromMSecsSinceEpoch(0, Qt::UTC));
    c.messageCount = messageCount;
    c.hasUnread = hasUnread;
    c.rating = rating;
    c.tags = tags;
    c.startedAt = startedAt.value_or(now);
    c.aiEscalationReason = aiEscalationReason;
    c.aiRetrievedChunks = aiRetrievedChunks;
    c.aiSuggestedReply = aiSuggestedReply;
    return c;
}

MessageDTO MessageDTO::decode(const QJsonValue& v, const WirePath& path) {
    return readObject(v, path, [&](const WireObject& o) {
        MessageDTO d;
        d.id = o.string("id");
        d.conversationId = o.string("conversationId");
        d.role = o.string("role");
        d.content = o.string("content");
        d.createdAt = o.optTime("createdAt");
        d.detectedLanguage = o.optString("detectedLanguage");
        d.translation = o.optString("translation");
        return d;
    });
}

Message MessageDTO::toModel(const QDateTime& now) const {
    Message m;
    m.id = id;
    m.conversationID = conversationId;
    m.role = messageRoleFromWire(role);
    m.content = content;
    m.createdAt = createdAt.value_or(now);
    m.detectedLanguage = detectedLanguage;
    m.translation = translation;
    return m;
}

VisitorDTO VisitorDTO::decode(const QJsonValue& v, const WirePath& path) {
    return readObject(v, path, [&](const WireObject& o) {
        VisitorDTO d;
        // Required members first: once every key is matched, absent optionals cost nothing.
        d.visitorId = o.string("visitorId");
        d.projectId = o.string("projectId");
        d.pageUrl = o.string("pageUrl");
        d.hasConversation = o.boolean("hasConversation");
        d.pagesThisSession = o.integer("pagesThisSession");
        d.timeOnSiteSeconds = o.integer("timeOnSiteSeconds");
        d.isReturning = o.boolean("isReturning");
        d.previousConversations = o.integer("previousConversations");
        d.lastSeen = o.optTime("lastSeen");
        d.firstSeen = o.optTime("firstSeen");
        d.pageTitle = o.optString("pageTitle");
        d.country = o.optString("country");
        d.city = o.optString("city");
        d.browser = o.optString("browser");
        d.os = o.optString("os");
        d.referrer = o.optString("referrer");
        return d;
    });
}

Visitor VisitorDTO::toModel(const QDateTime& now) const {
    Visitor r;
    r.visitorID = visitorId;
    r.projectID = projectId;
    r.pageURL = pageUrl;
    r.pageTitle = pageTitle;
    r.country = country;
    r.city = city;
    r.browser = browser;
    r.os = os;
    r.lastSeen = lastSeen.value_or(now);
    r.firstSeen = firstSeen.value_or(now);
    r.hasConversation = hasConversation;
    r.pagesThisSession = pagesThisSession;
    r.timeOnSiteSeconds = timeOnSiteSeconds;
    r.isReturning = isReturning;
    r.previousConversations = previousConversations;
    r.referrer = referrer;
    return r;
}

TopAgent decodeTopAgent(const QJsonValue& v, const WirePath& path) {
    return readObject(v, path, [&](const WireObject& o) {
        TopAgent t;
        t.projectID = o.string("projectId");
        t.name = o.string("name");
        t.websiteURL = o.optString("websiteUrl");
        t.widgetHeaderIcon = o.optString("widgetHeaderIcon");
        t.conversations = o.integer("conversations");
        return t;
    });
}

namespace {

StatsBucketDTO decodeBucket(const QJsonValue& v, const WirePath& path) {
    return readObject(v, path, [&](const WireObject& o) {
        return StatsBucketDTO{o.string("day"), o.integer("conversations"), o.integer("messages")};
    });
}

} // namespace

ProjectStatsDTO ProjectStatsDTO::decode(const QJsonValue& v, const WirePath& path) {
    return readObject(v, path, [&](const WireObject& o) {
        ProjectStatsDTO d;
        d.projectId = o.string("projectId");
        d.days = o.integer("days");
        d.conversations = o.integer("conversations");
        d.messages = o.integer("messages");
        d.uniqueVisitors = o.integer("uniqueVisitors");
        d.resolutionRate = o.number("resolutionRate");
        d.prevConversations = o.integer("prevConversations");
        d.avgRating = o.optNumber("avgRating");
        d.ratingCount = o.integer("ratingCount");
        d.buckets = o.list("buckets", decodeBucket);
        d.topAgents = o.optList("topAgents", decodeTopAgent);
        return d;
    });
}

ProjectStats ProjectStatsDTO::toModel(const QDateTime& now) const {
    ProjectStats s;
    s.projectID = projectId;
    s.days = days;
    s.conversations = conversations;
    s.messages = messages;
    s.uniqueVisitors = uniqueVisitors;
    s.resolutionRate = resolutionRate;
    s.prevConversations = prevConversations;
    s.avgRating = avgRating;
    s.ratingCount = ratingCount;
    s.buckets.reserve(buckets.size());
    for (const auto& b : buckets)
        s.buckets.append(StatsBucket{parseDay(b.day).value_or(now), b.conversations, b.messages});
    s.topAgents = topAgents.value_or(QList<TopAgent>());
    return s;
}

SnippetDTO SnippetDTO::decode(const QJsonValue& v, const WirePath& path) {
    return readObject(v, path, [&](const WireObject& o) {
        return SnippetDTO{o.string("id"), o.string("shortcut"), o.string("title"), o.string("body"),
                          o.string("emoji")};
    });
}

Snippet SnippetDTO::toListedModel() const {
    Snippet s = toModel();
    if (s.emoji.isEmpty())
        s.emoji = QStringLiteral("\U0001F4AC");
    return s;
}

Snippet SnippetDTO::toModel() const {
    return Snippet{id, shortcut, title, body, emoji};
}

SendMessageResponseDTO SendMessageResponseDTO::decode(const QJsonValue& v, const WirePath& path) {
    return readObject(v, path, [&](const WireObject& o) {
        SendMessageResponseDTO d;
        d.message = MessageDTO::decode(o.value("message"), WirePath{&o.path(), "message"});
        d.conversationStatus = o.string("conversationStatus");
        d.conversationLastMessageAt = o.optTime("conversationLastMessageAt");
        return d;
    });
}

SendMessageResult SendMessageResponseDTO::toModel(const QDateTime& now) const {
    return SendMessageResult{message.toModel(now), conversationStatus,
                             conversationLastMessageAt.value_or(now)};
}

User decodeUser(const QJsonValue& v, const WirePath& path) {
    return readObject(v, path, [&](const WireObject& o) {
        return User{o.string("id"), o.string("email"), o.string("name"), o.boolean("isAdmin"),
                    o.boolean("isAgency")};
    });
}

Client decodeClient(const QJsonValue& v, const WirePath& path) {
    return readObject(v, path, [&](const WireObject& o) {
        return Client{o.string("id"), o.string("name"), std::nullopt};
    });
}

NotificationPref decodeNotificationPref(const QJsonValue& v, const WirePath& path) {
    return readObject(v, path, [&](const WireObject& o) {
        return NotificationPref{o.string("projectId"), o.boolean("muted"),
                                o.boolean("muteEscalation"), o.boolean("muteNewMessage"),
                                o.boolean("muteVisitorOnline")};
    });
}

TranslationResult decodeTranslation(const QJsonValue& v, const WirePath& path) {
    return readObject(v, path, [&](const WireObject& o) {
        return TranslationResult{o.string("translation"), o.string("detectedSource")};
    });
}

void decodeResolveResponse(const QJsonValue& v, const WirePath& path) {
    (void)readObject(v, path, [&](const WireObject& o) {
        o.string("id");
        o.string("status");
        o.optTime("resolvedAt");
        return true;
    });
}

void decodeOkResponse(const QJsonValue& v, const WirePath& path) {
    (void)readObject(v, path, [&](const WireObject& o) {
        o.optBoolean("ok");
        return true;
    });
}

} // namespace kv
