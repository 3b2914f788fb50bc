#include "VisitorContext.h"

#include "AppStateForeign.h"
#include "PeopleText.h"
#include "TimeText.h"
#include "VisitorRules.h"
#include "state/AppState.h"

#include <algorithm>

namespace kv {

VisitorContext::VisitorContext(QObject* parent)
    : VisitorContext(AppStateForeign::instance(), parent) {}

VisitorContext::VisitorContext(AppState* state, QObject* parent)
    : VisitorFacts(state, visitors::Panel::context, parent) {
    connect(m_state->openConversation(), &OpenConversation::conversationChanged, this,
            &VisitorContext::refresh);
    connect(m_state, &AppState::liveVisitorsChanged, this, &VisitorContext::refresh);
    refresh();
}

void VisitorContext::refresh() {
    const std::optional<Conversation>& found = m_state->openConversation()->conversation();
    Visitor visitor = found ? m_state->resolvedVisitor(*found) : Visitor{};
    // The placeholder visitor's first-seen time is "now": not a change worth a redraw.
    visitor.firstSeen = m_visitor.firstSeen;
    if (found == m_conversation && visitor == m_visitor)
        return;
    m_conversation = found;
    m_visitor = visitor;
    m_chunks.clear();
    if (m_conversation) {
        for (const RetrievedChunk& chunk : m_conversation->aiRetrievedChunks) {
            m_chunks.append({chunk.title, chunk.snippet, visitors::scoreText(chunk.score),
                             ChunkMatch::Band(visitors::scoreBand(chunk.score))});
        }
    }
    m_chunkRowsMade = std::max(m_chunkRowsMade, chunkCount());
    m_tagRowsMade = std::max(m_tagRowsMade, int(tags().size()));
    emit changed();
}

QString VisitorContext::initials() const {
    return m_conversation ? people::visitorInitials(m_conversation->visitorName) : QString();
}

QString VisitorContext::name() const {
    return m_conversation ? m_conversation->visitorName.value_or(QStringLiteral("Anonymous"))
                          : QString();
}

QString VisitorContext::started() const {
    if (!m_conversation)
        return QString();
    return QStringLiteral("Started ") +
           times::relativeShort(m_conversation->startedAt, QDateTime::currentDateTimeUtc()) +
           QStringLiteral(" ago");
}

QString VisitorContext::messages() const {
    return m_conversation
               ? QString::number(m_conversation->messageCount) + QStringLiteral(" messages")
               : QString();
}

QStringList VisitorContext::tags() const {
    return m_conversation ? m_conversation->tags : QStringList();
}

QString VisitorContext::escalationReason() const {
    return m_conversation ? m_conversation->aiEscalationReason.value_or(QString()) : QString();
}

namespace {
template <typename List>
List padded(List rows, int count) {
    rows.resize(count);
    return rows;
}
} // namespace

QList<RetrievedChunkRow> VisitorContext::chunkRows() const {
    return padded(m_chunks, m_chunkRowsMade);
}

QStringList VisitorContext::tagRows() const {
    return padded(tags(), m_tagRowsMade);
}

} // namespace kv
