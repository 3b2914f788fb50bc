#pragma once

// The context panel beside the open conversation (the state's
// OpenConversation): the visitor behind it (a
// live visitor of its agent, or one made from the conversation), the page
// they are on, facts about the conversation, and what the AI did.

#include "VisitorFacts.h"
#include "VisitorRules.h"

namespace kv {

// How well a retrieved chunk matched, as QML names it (`ChunkMatch.Good`).
namespace ChunkMatch {
Q_NAMESPACE
QML_NAMED_ELEMENT(ChunkMatch)
enum Band {
    Good = int(visitors::ScoreBand::good),
    Fair = int(visitors::ScoreBand::fair),
    Weak = int(visitors::ScoreBand::weak),
};
Q_ENUM_NS(Band)
} // namespace ChunkMatch

// One knowledge chunk the AI retrieved, as the panel lists it.
struct RetrievedChunkRow {
    Q_GADGET
    QML_VALUE_TYPE(retrievedChunkRow)
    Q_PROPERTY(QString title MEMBER title)
    Q_PROPERTY(QString snippet MEMBER snippet)
    Q_PROPERTY(QString score MEMBER score) // "0.87"
    // A ChunkMatch.Band. (Qt 6.4's engine cannot read a namespace's enum
    // from a value type: "TypeError: Type error". As an int it compares with
    // ChunkMatch's keys all the same.)
    Q_PROPERTY(int band READ bandValue)

public:
    QString title;
    QString snippet;
    QString score;
    ChunkMatch::Band band = ChunkMatch::Good;
    int bandValue() const { return int(band); }
    bool operator==(const RetrievedChunkRow&) const = default;
};

// (The base named in full: the QML type registrar does not look it up in the namespace.)
class VisitorContext : public kv::VisitorFacts {
    Q_OBJECT
    QML_ELEMENT
    Q_PROPERTY(bool exists READ exists NOTIFY changed)
    Q_PROPERTY(QString initials READ initials NOTIFY changed)
    Q_PROPERTY(QString name READ name NOTIFY changed)
    Q_PROPERTY(QString started READ started NOTIFY changed)
    Q_PROPERTY(QString messages READ messages NOTIFY changed)
    Q_PROPERTY(QStringList tags READ tags NOTIFY changed)
    Q_PROPERTY(bool hasEscalationReason READ hasEscalationReason NOTIFY changed)
    Q_PROPERTY(QString escalationReason READ escalationReason NOTIFY changed)
    Q_PROPERTY(QList<kv::RetrievedChunkRow> chunks READ chunks NOTIFY changed)
    Q_PROPERTY(int chunkCount READ chunkCount NOTIFY changed)
    // One entry for each of the most chunks any conversation shown so far
    // held: the chunks, then empty rows. The panel makes that many rows and
    // keeps them, hiding those a conversation does not fill, so moving
    // between conversations seldom makes a row.
    Q_PROPERTY(QList<kv::RetrievedChunkRow> chunkRows READ chunkRows NOTIFY changed)
    // The tags, padded the same way for the panel's tag chips.
    Q_PROPERTY(QStringList tagRows READ tagRows NOTIFY changed)

public:
    explicit VisitorContext(QObject* parent = nullptr);
    VisitorContext(AppState* state, QObject* parent);

    bool exists() const { return m_conversation.has_value(); }
    QString initials() const;
    QString name() const;
    QString started() const;
    QString messages() const;
    QStringList tags() const;
    bool hasEscalationReason() const {
        return m_conversation && m_conversation->aiEscalationReason.has_value();
    }
    QString escalationReason() const;
    QList<RetrievedChunkRow> chunks() const { return m_chunks; }
    int chunkCount() const { return int(m_chunks.size()); }
    QList<RetrievedChunkRow> chunkRows() const;
    QStringList tagRows() const;

private:
    void refresh();

    std::optional<Conversation> m_conversation;
    QList<RetrievedChunkRow> m_chunks;
    // The most chunks and tags any conversation shown so far held; they only grow.
    int m_chunkRowsMade = 0;
    int m_tagRowsMade = 0;
};

} // namespace kv
