#pragma once

// The context panel beside the open conversation (the state's
// OpenConversation): the visitor behind it (a
// live visitor of its agent, or one made from the conversation), the page
// they are on, facts about the conversation, and what the AI did.

#include "VisitorFacts.h"

#include <QVariantList>

namespace kv {

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
    // [{title, snippet, score, band}] with band 0 good, 1 fair, 2 weak.
    Q_PROPERTY(QVariantList chunks READ chunks NOTIFY changed)

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
    QVariantList chunks() const;

private:
    void refresh();

    std::optional<Conversation> m_conversation;
};

} // namespace kv
