#include "SseParser.h"

#include "records/Utf8.h"

namespace kv {

SseParser::SseParser(Handlers handlers, qsizetype maxLine, qsizetype maxFrame)
    : m_handlers(std::move(handlers)), m_maxLine(maxLine), m_maxFrame(maxFrame) {
    reset();
}

void SseParser::reset() {
    m_line.clear();
    m_skipLineFeed = false;
    m_atStreamStart = true;
    m_eventType = QStringLiteral("message");
    m_data.clear();
    m_pendingId.reset();
}

std::optional<QString> SseParser::feed(QByteArrayView bytes) {
    const char* p = bytes.data();
    const char* end = p + bytes.size();

    if (m_atStreamStart && p < end) {
        // One UTF-8 byte-order mark may open the stream; it may arrive split.
        static constexpr char bom[] = "\xEF\xBB\xBF";
        while (p < end && m_line.size() < 3 && *p == bom[m_line.size()])
            m_line.append(*p++);
        if (m_line.size() == 3) {
            m_line.clear();
            m_atStreamStart = false;
        } else if (p < end) {
            m_atStreamStart = false; // not a mark: what was held is ordinary text
        } else {
            return std::nullopt;
        }
    }

    if (m_skipLineFeed && p < end) {
        if (*p == '\n')
            ++p;
        m_skipLineFeed = false;
    }

    while (p < end) {
        // Find the next CR or LF; everything before it belongs to the current line.
        const char* stop = p;
        while (stop < end && *stop != '\n' && *stop != '\r')
            ++stop;
        if (m_line.size() + (stop - p) > m_maxLine)
            return QStringLiteral("event stream line longer than %1 bytes").arg(m_maxLine);
        if (stop == end) {
            m_line.append(p, stop - p);
            return std::nullopt;
        }
        std::optional<QString> error;
        if (m_line.isEmpty()) {
            error = takeLine(QByteArrayView(p, stop - p));
        } else {
            m_line.append(p, stop - p);
            error = takeLine(m_line);
            m_line.clear();
        }
        if (error)
            return error;
        p = stop + 1;
        if (*stop == '\r') {
            if (p < end) {
                if (*p == '\n')
                    ++p;
            } else {
                m_skipLineFeed = true; // a LF may open the next read
            }
        }
    }
    return std::nullopt;
}

std::optional<QString> SseParser::takeLine(QByteArrayView raw) {
    if (raw.isEmpty()) {
        dispatch();
        return std::nullopt;
    }
    if (raw.front() == ':') {
        if (m_handlers.comment)
            m_handlers.comment();
        return std::nullopt;
    }
    const qsizetype colon = raw.indexOf(':');
    const QByteArrayView name = colon < 0 ? raw : raw.first(colon);
    QByteArrayView value = colon < 0 ? QByteArrayView() : raw.sliced(colon + 1);
    if (value.startsWith(' '))
        value = value.sliced(1);

    if (name == "data") {
        if (m_data.size() + value.size() + 1 > m_maxFrame)
            return QStringLiteral("event stream frame larger than %1 bytes").arg(m_maxFrame);
        // Invalid UTF-8 becomes U+FFFD; a line never splits a character.
        if (!m_data.isEmpty())
            m_data.append(u'\n');
        m_data.append(lenientUtf8(value));
    } else if (name == "event") {
        m_eventType = lenientUtf8(value);
    } else if (name == "id") {
        if (!value.contains('\0'))
            m_pendingId = lenientUtf8(value);
    }
    return std::nullopt;
}

void SseParser::dispatch() {
    if (m_pendingId) {
        m_resumeId = std::move(m_pendingId);
        m_pendingId.reset();
    }
    if (!m_data.isEmpty() && m_handlers.frame)
        m_handlers.frame(SseFrame{m_eventType, m_data, m_resumeId});
    m_eventType = QStringLiteral("message");
    m_data.clear();
}

} // namespace kv
