#include "RealtimeEvent.h"

#include <QJsonDocument>
#include <QJsonObject>
#include <QJsonParseError>

namespace kv {

namespace {

// Present and of the right type, absent (missing or null), or wrong.
enum class Presence { present, absent, wrong };

Presence stringMember(const QJsonObject& o, QLatin1StringView key, QString* out) {
    const QJsonValue v = o.value(key);
    if (v.isUndefined() || v.isNull())
        return Presence::absent;
    if (!v.isString())
        return Presence::wrong;
    *out = v.toString();
    return Presence::present;
}

struct EventData {
    std::optional<bool> notify;
    std::optional<QString> preview, projectName, visitorName;
};

std::optional<EventData> readData(const QJsonObject& o) {
    EventData d;
    // Decoded for shape even where unused, so a mistyped frame is refused whole.
    for (const char* key : {"role", "by_user_id", "visitor_id"}) {
        QString ignored;
        if (stringMember(o, QLatin1StringView(key), &ignored) == Presence::wrong)
            return std::nullopt;
    }
    const QJsonValue notify = o.value(QLatin1StringView("notify"));
    if (notify.isBool())
        d.notify = notify.toBool();
    else if (!notify.isUndefined() && !notify.isNull())
        return std::nullopt;
    const std::pair<const char*, std::optional<QString>*> texts[] = {
        {"preview", &d.preview},
        {"project_name", &d.projectName},
        {"visitor_name", &d.visitorName}};
    for (const auto& [key, field] : texts) {
        QString value;
        switch (stringMember(o, QLatin1StringView(key), &value)) {
        case Presence::wrong:
            return std::nullopt;
        case Presence::present:
            *field = value;
            break;
        case Presence::absent:
            break;
        }
    }
    return d;
}

} // namespace

QString RealtimeEvent::kindText(Kind kind) {
    switch (kind) {
    case Kind::escalated:
        return QStringLiteral("escalated");
    case Kind::messageReceived:
        return QStringLiteral("messageReceived");
    case Kind::visitorOnline:
        return QStringLiteral("visitorOnline");
    case Kind::unknown:
        break;
    }
    return QStringLiteral("unknown");
}

std::optional<RealtimeEvent> RealtimeEvent::fromFrameData(const QString& data) {
    QJsonParseError error;
    const QJsonDocument doc = QJsonDocument::fromJson(data.toUtf8(), &error);
    if (error.error != QJsonParseError::NoError || !doc.isObject())
        return std::nullopt;
    const QJsonObject envelope = doc.object();

    QString id, type, projectID, conversationID;
    if (stringMember(envelope, QLatin1StringView("id"), &id) != Presence::present ||
        stringMember(envelope, QLatin1StringView("type"), &type) != Presence::present)
        return std::nullopt;
    const Presence project = stringMember(envelope, QLatin1StringView("project_id"), &projectID);
    const Presence conversation =
        stringMember(envelope, QLatin1StringView("conversation_id"), &conversationID);
    if (project == Presence::wrong || conversation == Presence::wrong)
        return std::nullopt;
    EventData d;
    const QJsonValue dataValue = envelope.value(QLatin1StringView("data"));
    if (dataValue.isObject()) {
        const auto read = readData(dataValue.toObject());
        if (!read)
            return std::nullopt;
        d = *read;
    } else if (!dataValue.isUndefined() && !dataValue.isNull()) {
        return std::nullopt;
    }

    RealtimeEvent event;
    event.type = type;
    event.projectID = projectID; // empty when absent
    if (conversation == Presence::present)
        event.conversationID = conversationID;
    event.notify = d.notify.value_or(false);

    if (type == u"conversation.escalated") {
        event.kind = Kind::escalated;
        event.title = d.projectName.value_or(QStringLiteral("Escalation"));
        const QString visitor = d.visitorName.value_or(QStringLiteral("A visitor"));
        const QString preview = d.preview.value_or(QString()).trimmed();
        event.body = preview.isEmpty() ? visitor + QStringLiteral(" asked to talk to a human.")
                                       : visitor + QStringLiteral(": ") + preview;
    } else if (type == u"message.received") {
        event.kind = Kind::messageReceived;
        event.title = d.projectName.value_or(QStringLiteral("New message"));
        event.body = d.preview.value_or(QStringLiteral("New message"));
    } else if (type == u"visitor.online") {
        event.kind = Kind::visitorOnline;
        event.title = d.projectName.value_or(QStringLiteral("Visitor online"));
        event.body = QStringLiteral("A visitor is browsing your site.");
    } else {
        event.kind = Kind::unknown;
        event.title = type;
    }
    return event;
}

} // namespace kv
