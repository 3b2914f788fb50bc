#pragma once

// The quick-reply window's logic, for desktops whose notifications cannot
// take a typed reply: sends one reply to one conversation and, when the
// service does not take it, keeps the text and says why.

#include <QCoroTask>
#include <QObject>
#include <QtQml/qqmlregistration.h>

namespace kv {

class QuickReply : public QObject {
    Q_OBJECT
    QML_ELEMENT
    Q_PROPERTY(QString projectID MEMBER m_projectID NOTIFY targetChanged)
    Q_PROPERTY(QString conversationID MEMBER m_conversationID NOTIFY targetChanged)
    Q_PROPERTY(bool sending READ sending NOTIFY stateChanged)
    // "Reply not sent: <reason>" after a failure; empty otherwise.
    Q_PROPERTY(QString failure READ failure NOTIFY stateChanged)

public:
    using QObject::QObject;

    bool sending() const { return m_sending; }
    QString failure() const { return m_failure; }

    // A reply can go when it has more than white space and none is on its way.
    Q_INVOKABLE bool canSend(const QString& text) const;
    // Sends the trimmed text; `sent` follows when the service stored it.
    Q_INVOKABLE void send(const QString& text);

signals:
    void targetChanged();
    void stateChanged();
    void sent();

private:
    QCoro::Task<> sendTask(QString text);

    QString m_projectID;
    QString m_conversationID;
    bool m_sending = false;
    QString m_failure;
};

} // namespace kv
