#pragma once

// One event of the realtime stream, ready for the notification centre.

#include <QString>

#include <optional>

namespace kv {

struct RealtimeEvent {
    enum class Kind { escalated, messageReceived, visitorOnline, unknown };

    Kind kind = Kind::unknown;
    QString type;
    QString projectID;
    std::optional<QString> conversationID;
    bool notify = false;
    QString title;
    QString body;

    bool operator==(const RealtimeEvent&) const = default;

    // The kind's text: "escalated", "messageReceived", "visitorOnline", "unknown".
    static QString kindText(Kind kind);
    // Reads one frame's JSON; none when it is not an event envelope.
    static std::optional<RealtimeEvent> fromFrameData(const QString& data);
};

} // namespace kv
