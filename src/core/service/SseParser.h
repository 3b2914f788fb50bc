#pragma once

// The event-stream wire format, parsed as bytes arrive. Lines end at CR, LF
// or CRLF wherever the network splits them; a blank line dispatches the
// frame. A frame's `id` becomes the resume id only when the frame is
// dispatched, so a frame cut off by a dropped connection is replayed.
// Memory stays bounded: an over-long line or frame is an error.

#include <QByteArray>
#include <QString>

#include <functional>
#include <optional>

namespace kv {

struct SseFrame {
    QString eventType;               // "message" unless the frame named one
    QString data;                    // data lines joined with line feeds
    std::optional<QString> resumeId; // the resume id in effect after this frame
    bool operator==(const SseFrame&) const = default;
};

class SseParser {
public:
    static constexpr qsizetype kMaxLine = 1 << 20;  // 1 MiB
    static constexpr qsizetype kMaxFrame = 4 << 20; // 4 MiB

    struct Handlers {
        std::function<void(const SseFrame&)> frame; // a dispatched frame with data
        std::function<void()> comment;              // a ":" line (the service's heartbeat)
    };

    explicit SseParser(Handlers handlers, qsizetype maxLine = kMaxLine,
                       qsizetype maxFrame = kMaxFrame);

    // Starts a new stream, keeping the resume id.
    void reset();
    // Parses `bytes`; returns an error text (and stops parsing) when a limit is exceeded.
    std::optional<QString> feed(QByteArrayView bytes);

    std::optional<QString> resumeId() const { return m_resumeId; }
    void setResumeId(std::optional<QString> id) { m_resumeId = std::move(id); }

private:
    std::optional<QString> takeLine(QByteArrayView line);
    void dispatch();

    Handlers m_handlers;
    qsizetype m_maxLine;
    qsizetype m_maxFrame;

    QByteArray m_line;           // bytes of the line being received
    bool m_skipLineFeed = false; // the last line ended in CR: a leading LF belongs to it
    bool m_atStreamStart = true; // a byte-order mark is skipped only here
    QString m_eventType;
    QString m_data;
    std::optional<QString> m_pendingId;
    std::optional<QString> m_resumeId;
};

} // namespace kv
