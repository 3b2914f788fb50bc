#pragma once

// Texts the operator reads that are built from parts, and the Linux forms of
// texts that name the Mac elsewhere. One place, so that a wording changes once.

#include <QObject>
#include <QString>
#include <QtQml/qqmlregistration.h>

namespace kv {

class UiTexts : public QObject {
    Q_OBJECT
    QML_ELEMENT
    QML_SINGLETON

public:
    using QObject::QObject;

    // A reply the service did not take: "Reply not sent: <reason>".
    Q_INVOKABLE static QString replyNotSent(const QString& reason);
};

} // namespace kv
