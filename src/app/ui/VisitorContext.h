#pragma once

// The context panel beside an open conversation: the visitor behind it (a
// live visitor of its agent, or one made from the conversation), the page
// they are on, facts about the conversation, and what the AI did.

#include "records/Records.h"

#include <QObject>
#include <QVariantList>
#include <QtQml/qqmlregistration.h>

namespace kv {

class AppState;

class VisitorContext : public QObject {
    Q_OBJECT
    QML_ELEMENT
    Q_PROPERTY(QString conversationID READ conversationID WRITE setConversationID NOTIFY
                   conversationIDChanged)
    Q_PROPERTY(bool exists READ exists NOTIFY changed)
    Q_PROPERTY(QString initials READ initials NOTIFY changed)
    Q_PROPERTY(QString name READ name NOTIFY changed)
    Q_PROPERTY(QString country READ country NOTIFY changed)
    Q_PROPERTY(QString returningText READ returningText NOTIFY changed)
    Q_PROPERTY(QString returningSymbol READ returningSymbol NOTIFY changed)
    Q_PROPERTY(QString location READ location NOTIFY changed)
    Q_PROPERTY(QString browser READ browser NOTIFY changed)
    Q_PROPERTY(QString timeOnSite READ timeOnSite NOTIFY changed)
    Q_PROPERTY(QString pages READ pages NOTIFY changed)
    Q_PROPERTY(QString referrerLine READ referrerLine NOTIFY changed)
    Q_PROPERTY(QString pageTitle READ pageTitle NOTIFY changed)
    Q_PROPERTY(QString pageURL READ pageURL NOTIFY changed)
    Q_PROPERTY(bool pageOpens READ pageOpens NOTIFY changed)
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

    QString conversationID() const { return m_conversationID; }
    void setConversationID(const QString& id);

    bool exists() const { return m_conversation.has_value(); }
    QString initials() const;
    QString name() const;
    QString country() const;
    QString returningText() const;
    QString returningSymbol() const;
    QString location() const;
    QString browser() const;
    QString timeOnSite() const;
    QString pages() const;
    QString referrerLine() const;
    QString pageTitle() const;
    QString pageURL() const;
    bool pageOpens() const;
    QString started() const;
    QString messages() const;
    QStringList tags() const;
    bool hasEscalationReason() const {
        return m_conversation && m_conversation->aiEscalationReason.has_value();
    }
    QString escalationReason() const;
    QVariantList chunks() const;

    // Opens the visitor's page in the browser, when it is a web page.
    Q_INVOKABLE void openPage();

signals:
    void conversationIDChanged();
    void changed();

private:
    void refresh();

    AppState* m_state;
    QString m_conversationID;
    std::optional<Conversation> m_conversation;
    Visitor m_visitor;
};

} // namespace kv
