#include "WireRecords.h"

#include "IsoTime.h"

namespace kv {

// ---- the fields of each record, as the service writes them ----

#define KV_FIELD(R, member) wireField(#member, &R::member)

template <>
struct WireFields<ProjectDTO> {
    using R = ProjectDTO;
    static constexpr auto fields = std::tuple{KV_FIELD(R, id),
                                              KV_FIELD(R, name),
                                              KV_FIELD(R, websiteUrl),
                                              KV_FIELD(R, widgetColor),
                                              KV_FIELD(R, widgetHeaderIcon),
                                              KV_FIELD(R, widgetLogoUrl),
                                              KV_FIELD(R, clientId),
                                              KV_FIELD(R, unreadCount),
                                              KV_FIELD(R, liveVisitorCount)};
};

template <>
struct WireFields<RetrievedChunk> {
    using R = RetrievedChunk;
    static constexpr auto fields =
        std::tuple{KV_FIELD(R, id), KV_FIELD(R, title), KV_FIELD(R, snippet), KV_FIELD(R, score),
                   wireField("sourceUrl", &R::sourceURL)};
};

template <>
struct WireFields<ConversationDTO> {
    using R = ConversationDTO;
    static constexpr auto fields = std::tuple{KV_FIELD(R, id),
                                              KV_FIELD(R, projectId),
                                              KV_FIELD(R, status),
                                              KV_FIELD(R, lastMessagePreview),
                                              KV_FIELD(R, messageCount),
                                              KV_FIELD(R, hasUnread),
                                              KV_FIELD(R, tags),
                                              KV_FIELD(R, aiRetrievedChunks),
                                              KV_FIELD(R, lastMessageAt),
                                              KV_FIELD(R, startedAt),
                                              KV_FIELD(R, visitorName),
                                              KV_FIELD(R, visitorCountry),
                                              KV_FIELD(R, rating),
                                              KV_FIELD(R, aiEscalationReason),
                                              KV_FIELD(R, aiSuggestedReply)};
};

template <>
struct WireFields<MessageDTO> {
    using R = MessageDTO;
    static constexpr auto fields = std::tuple{
        KV_FIELD(R, id),         KV_FIELD(R, conversationId), KV_FIELD(R, role),
        KV_FIELD(R, content),    KV_FIELD(R, createdAt),      KV_FIELD(R, detectedLanguage),
        KV_FIELD(R, translation)};
};

template <>
struct WireFields<VisitorDTO> {
    using R = VisitorDTO;
    static constexpr auto fields = std::tuple{KV_FIELD(R, visitorId),
                                              KV_FIELD(R, projectId),
                                              KV_FIELD(R, pageUrl),
                                              KV_FIELD(R, hasConversation),
                                              KV_FIELD(R, pagesThisSession),
                                              KV_FIELD(R, timeOnSiteSeconds),
                                              KV_FIELD(R, isReturning),
                                              KV_FIELD(R, previousConversations),
                                              KV_FIELD(R, lastSeen),
                                              KV_FIELD(R, firstSeen),
                                              KV_FIELD(R, pageTitle),
                                              KV_FIELD(R, country),
                                              KV_FIELD(R, city),
                                              KV_FIELD(R, browser),
                                              KV_FIELD(R, os),
                                              KV_FIELD(R, referrer)};
};

template <>
struct WireFields<TopAgent> {
    using R = TopAgent;
    static constexpr auto fields =
        std::tuple{wireField("projectId", &R::projectID), KV_FIELD(R, name),
                   wireField("websiteUrl", &R::websiteURL), KV_FIELD(R, widgetHeaderIcon),
                   KV_FIELD(R, conversations)};
};

template <>
struct WireFields<StatsBucketDTO> {
    using R = StatsBucketDTO;
    static constexpr auto fields =
        std::tuple{KV_FIELD(R, day), KV_FIELD(R, conversations), KV_FIELD(R, messages)};
};

template <>
struct WireFields<ProjectStatsDTO> {
    using R = ProjectStatsDTO;
    static constexpr auto fields = std::tuple{
        KV_FIELD(R, projectId),         KV_FIELD(R, days),           KV_FIELD(R, conversations),
        KV_FIELD(R, messages),          KV_FIELD(R, uniqueVisitors), KV_FIELD(R, resolutionRate),
        KV_FIELD(R, prevConversations), KV_FIELD(R, avgRating),      KV_FIELD(R, ratingCount),
        KV_FIELD(R, buckets),           KV_FIELD(R, topAgents)};
};

template <>
struct WireFields<SnippetDTO> {
    using R = SnippetDTO;
    static constexpr auto fields =
        std::tuple{KV_FIELD(R, id), KV_FIELD(R, shortcut), KV_FIELD(R, title), KV_FIELD(R, body),
                   KV_FIELD(R, emoji)};
};

template <>
struct WireFields<SendMessageResponseDTO> {
    using R = SendMessageResponseDTO;
    static constexpr auto fields = std::tuple{KV_FIELD(R, message), KV_FIELD(R, conversationStatus),
                                              KV_FIELD(R, conversationLastMessageAt)};
};

template <>
struct WireFields<User> {
    using R = User;
    static constexpr auto fields =
        std::tuple{KV_FIELD(R, id), KV_FIELD(R, email), KV_FIELD(R, name), KV_FIELD(R, isAdmin),
                   KV_FIELD(R, isAgency)};
};

// A client's emoji is the console's own, never the service's.
template <>
struct WireFields<Client> {
    using R = Client;
    static constexpr auto fields = std::tuple{KV_FIELD(R, id), KV_FIELD(R, name)};
};

template <>
struct WireFields<NotificationPref> {
    using R = NotificationPref;
    static constexpr auto fields = std::tuple{
        wireField("projectId", &R::projectID), KV_FIELD(R, muted), KV_FIELD(R, muteEscalation),
        KV_FIELD(R, muteNewMessage), KV_FIELD(R, muteVisitorOnline)};
};

template <>
struct WireFields<TranslationResult> {
    using R = TranslationResult;
    static constexpr auto fields =
        std::tuple{KV_FIELD(R, translation), KV_FIELD(R, detectedSource)};
};

// The bodies the console sends, under the keys the service reads.

template <>
struct WireFields<SendMessageRequest> {
    using R = SendMessageRequest;
    static constexpr auto fields =
        std::tuple{KV_FIELD(R, text), wireField("resolve_after", &R::resolveAfter)};
};

template <>
struct WireFields<TranslateRequest> {
    using R = TranslateRequest;
    static constexpr auto fields =
        std::tuple{KV_FIELD(R, text), KV_FIELD(R, target), KV_FIELD(R, source)};
};

template <>
struct WireFields<NotificationPrefUpdate> {
    using R = NotificationPrefUpdate;
    static constexpr auto fields =
        std::tuple{wireField("project_id", &R::projectID), KV_FIELD(R, muted)};
};

template <>
struct WireFields<SnippetFields> {
    using R = SnippetFields;
    static constexpr auto fields = std::tuple{KV_FIELD(R, shortcut), KV_FIELD(R, title),
                                              KV_FIELD(R, body), KV_FIELD(R, emoji)};
};

template <>
struct WireFields<CodeExchangeRequest> {
    using R = CodeExchangeRequest;
    static constexpr auto fields = std::tuple{KV_FIELD(R, code), KV_FIELD(R, state)};
};

#undef KV_FIELD

#define KV_WIRE_BODY(R) template QJsonObject encodeRecord<R>(const R&);
KV_WIRE_BODIES(KV_WIRE_BODY)
#undef KV_WIRE_BODY
#define KV_WIRE_RECORD(R) template R decodeRecord<R>(const QJsonValue&, const WirePath&);
KV_WIRE_RECORDS(KV_WIRE_RECORD)
#undef KV_WIRE_RECORD

// ---- from the wire form to the domain records ----

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

Snippet SnippetDTO::toListedModel() const {
    Snippet s = toModel();
    if (s.emoji.isEmpty())
        s.emoji = QStringLiteral("\U0001F4AC");
    return s;
}

Snippet SnippetDTO::toModel() const {
    return Snippet{id, shortcut, title, body, emoji};
}

SendMessageResult SendMessageResponseDTO::toModel(const QDateTime& now) const {
    return SendMessageResult{message.toModel(now), conversationStatus,
                             conversationLastMessageAt.value_or(now)};
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

namespace {
// A list member's records as models. Records that came without a time fall
// back to one instant, taken once for the whole answer.
template <typename Dto>
auto decodeModels(const WireObject& top, const char* member) {
    const QDateTime now = QDateTime::currentDateTimeUtc();
    return top.list(member, [&now](const QJsonValue& v, const WirePath& p) {
        return decodeRecord<Dto>(v, p).toModel(now);
    });
}
} // namespace

QList<Conversation> decodeConversationList(const QJsonObject& top) {
    return decodeModels<ConversationDTO>(WireObject(top, WirePath{}), "conversations");
}

QList<Visitor> decodeVisitorList(const QJsonObject& top) {
    return decodeModels<VisitorDTO>(WireObject(top, WirePath{}), "visitors");
}

QList<Message> decodeMessageList(const WireObject& top, const char* member) {
    return decodeModels<MessageDTO>(top, member);
}

} // namespace kv
