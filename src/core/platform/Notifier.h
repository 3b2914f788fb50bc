#pragma once

// The desktop's notification service, as the notification manager needs it:
// post a notification with a reply action, learn whether notifications can
// be shown, and hear back about clicks and typed replies.

#include "Enums.h"

#include <QCoroTask>
#include <QObject>
#include <QString>

#include <optional>

namespace kv {

struct NotificationRequest {
    QString title;
    QString body;
    bool sound = true;
    QString projectID;
    std::optional<QString> conversationID;
    // A visitor waiting for a human: shown as critical, which the desktop keeps
    // on screen until the operator acts or the console takes it back.
    bool urgent = false;
};

class Notifier : public QObject {
    Q_OBJECT

public:
    using QObject::QObject;

    // Asks for permission where the desktop asks; answers the state it is in.
    virtual QCoro::Task<NotificationPermission> requestAuthorization() = 0;
    virtual QCoro::Task<NotificationPermission> currentAuthorization() = 0;
    // Shows it; the error text when the desktop refused. A newer notification
    // of the same conversation replaces the one still showing.
    virtual QCoro::Task<std::optional<QString>> post(NotificationRequest request) = 0;
    // Whether replies can be typed in the notification itself (as last checked);
    // otherwise a "Reply" action opens the quick-reply window.
    virtual bool offersInlineReply() const { return false; }
    // Takes back the conversation's notification if the desktop still shows it.
    virtual void withdraw(const QString& conversationID) { Q_UNUSED(conversationID); }

signals:
    // The notification (or its "Open" action) was clicked.
    void activated(const QString& projectID, const std::optional<QString>& conversationID);
    // Text typed into the notification's inline reply.
    void replied(const QString& projectID, const std::optional<QString>& conversationID,
                 const QString& text);
    // The desktop has no inline reply: the user asked to answer in a small window.
    void replyWindowRequested(const QString& projectID, const QString& conversationID);
};

} // namespace kv
