#pragma once

// The panel beside the live visitors list: the selected visitor (the first
// live visitor with that identifier; none when they have left), with the
// page to open or copy and the way to their agent's inbox.

#include "VisitorFacts.h"

namespace kv {

// (The base named in full: the QML type registrar does not look it up in the namespace.)
class VisitorDetail : public kv::VisitorFacts {
    Q_OBJECT
    QML_ELEMENT
    Q_PROPERTY(QString visitorID READ visitorID WRITE setVisitorID NOTIFY visitorIDChanged)
    Q_PROPERTY(bool exists READ exists NOTIFY changed)
    Q_PROPERTY(bool hasConversation READ hasConversation NOTIFY changed)
    Q_PROPERTY(QString projectLine READ projectLine NOTIFY changed)

public:
    explicit VisitorDetail(QObject* parent = nullptr);
    VisitorDetail(AppState* state, QObject* parent);

    QString visitorID() const { return m_visitorID; }
    void setVisitorID(const QString& id);
    bool exists() const { return m_exists; }
    bool hasConversation() const { return m_exists && m_visitor.hasConversation; }
    // "🤖 Name" of the visitor's agent while all agents are listed together.
    QString projectLine() const;

    // The page address on the clipboard exactly as received, valid URL or not.
    Q_INVOKABLE void copyLink();
    // The visitor's agent in the inbox.
    Q_INVOKABLE void openInInbox();

signals:
    void visitorIDChanged();

private:
    void refresh();

    QString m_visitorID;
    bool m_exists = false;
};

} // namespace kv
