#pragma once

// Texts the operator reads that are built from parts, and the desktop forms
// of texts that name the Mac elsewhere. One place, so that a wording changes once.

#include <QObject>
#include <QString>
#include <QtQml/qqmlregistration.h>

namespace kv {

class UiTexts : public QObject {
    Q_OBJECT
    QML_ELEMENT
    QML_SINGLETON
    Q_PROPERTY(QString composerPlaceholder READ composerPlaceholder CONSTANT)
    Q_PROPERTY(QString composerHint READ composerHint CONSTANT)
    Q_PROPERTY(QString signInTagline READ signInTagline CONSTANT)
    Q_PROPERTY(QString notYetAvailable READ notYetAvailable CONSTANT)
    Q_PROPERTY(QString appearanceNote READ appearanceNote CONSTANT)
    Q_PROPERTY(QString thisComputer READ thisComputer CONSTANT)
    Q_PROPERTY(QString startupNote READ startupNote CONSTANT)
    Q_PROPERTY(QString muteNote READ muteNote CONSTANT)
    Q_PROPERTY(QString productName READ productName CONSTANT)
    Q_PROPERTY(QString noNotificationService READ noNotificationService CONSTANT)

public:
    using QObject::QObject;

    // A reply the service did not take: "Reply not sent: <reason>".
    Q_INVOKABLE static QString replyNotSent(const QString& reason);
    // A reply handed to the service when the console stopped, before any answer.
    static QString replyUnconfirmed();
    // The status pill's text: "Needs reply", "Active", "You're chatting", "Resolved".
    Q_INVOKABLE static QString statusText(int conversationStatus);

    static QString composerPlaceholder();
    static QString composerHint();
    static QString signInTagline();
    // The tooltip of a control whose action is not there yet.
    static QString notYetAvailable();

    // The settings, in their desktop forms.
    static QString appearanceNote();
    static QString thisComputer();
    static QString startupNote();
    static QString muteNote();
    // The tray menu's unread line: "3 unread", or "No unread conversations".
    static QString unreadLine(qint64 total);
    static QString productName();
    // The banner when no notification service answers in this session.
    static QString noNotificationService();
    // What a test notification did.
    static QString testNotificationDelivered();
    static QString testNotificationMissing();
    static QString testNotificationReplies(bool inlineReply);
    // A snippet the service did not take: "Snippet not saved: <reason>".
    // "Version 1.4.2 · Build 87".
    Q_INVOKABLE static QString versionLine(const QString& shortVersion, const QString& build);
    Q_INVOKABLE static QString snippetNotSaved(const QString& reason);
    static QString snippetsNotLoaded(const QString& reason);
    static QString conversationsNotLoaded(const QString& reason);
    static QString visitorsNotLoaded(const QString& reason);
    // A thread whose messages could not be fetched: "Couldn’t load messages: <reason>".
    static QString messagesNotLoaded(const QString& reason);
};

} // namespace kv
