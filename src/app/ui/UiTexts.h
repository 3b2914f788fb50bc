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

public:
    using QObject::QObject;

    // A reply the service did not take: "Reply not sent: <reason>".
    Q_INVOKABLE static QString replyNotSent(const QString& reason);
    // The status pill's text: "Needs reply", "Active", "You're chatting", "Resolved".
    Q_INVOKABLE static QString statusText(int conversationStatus);

    static QString composerPlaceholder();
    static QString composerHint();
    static QString signInTagline();
    // The tooltip of a control whose action is not there yet.
    static QString notYetAvailable();
};

} // namespace kv
