#pragma once

// How an agent looks on the screens: its widget colour, the initials on its
// tile, and the only addresses its logo may be loaded from. `ProjectLook` in QML.

#include <QColor>
#include <QObject>
#include <QUrl>
#include <QVariant>
#include <QtQml/qqmlregistration.h>

#include <optional>

namespace kv {

class ProjectLook : public QObject {
    Q_OBJECT
    QML_ELEMENT
    QML_SINGLETON

public:
    using QObject::QObject;

    // "#RRGGBB" or "RRGGBB" (spaces and tabs around allowed); undefined otherwise.
    Q_INVOKABLE QVariant color(const QVariant& hex) const;
    static std::optional<QColor> parseHexColor(const QString& text);
    // An agent's tile: the first two characters of its name, upper-cased.
    Q_INVOKABLE static QString initials(const QString& projectName);
    // The address an agent's logo is loaded from: only a web address (http or
    // https), never a local file or another scheme; empty otherwise.
    Q_INVOKABLE static QUrl logoSource(const QUrl& logoURL);
};

} // namespace kv
