#pragma once

// What the screens compute but QML should not: colour parsing, the short
// date formats and the font scale. Registered for QML as `Ui`.

#include <QColor>
#include <QDateTime>
#include <QObject>
#include <QUrl>
#include <QVariant>
#include <QtQml/qqmlregistration.h>

namespace kv {

class UiSupport : public QObject {
    Q_OBJECT
    QML_NAMED_ELEMENT(Ui)
    QML_SINGLETON
    // Font points per logical pixel at the screen's resolution: the screens give
    // sizes in pixels and set them as fractional points, so nothing is rounded.
    Q_PROPERTY(double pointsPerPixel READ pointsPerPixel CONSTANT)

public:
    using QObject::QObject;

    // "#RRGGBB" or "RRGGBB" (spaces and tabs around allowed); undefined otherwise.
    Q_INVOKABLE QVariant color(const QVariant& hex) const;
    static std::optional<QColor> parseHexColor(const QString& text);

    // "HH:mm" within the last day (or in the future), else "MMM d · HH:mm".
    Q_INVOKABLE QString timeAndDay(const QDateTime& instant) const;
    // "now", "5m", "3h", "2d", else "MMM d".
    Q_INVOKABLE QString relativeShort(const QDateTime& instant) const;
    static QString timeAndDay(const QDateTime& instant, const QDateTime& now);
    static QString relativeShort(const QDateTime& instant, const QDateTime& now);

    // The tray menu's unread line: "3 unread", or "No unread conversations".
    static QString unreadLine(qint64 total);

    // small 1.0, normal 1.15, large 1.3, extraLarge 1.48.
    Q_INVOKABLE static double fontScale(int fontSizePreference);
    static double pointsPerPixel();

    // An agent's tile: the first two characters of its name, upper-cased.
    Q_INVOKABLE static QString agentInitials(const QString& projectName);
    // The address an agent's logo is loaded from: only a web address (http or
    // https), never a local file or another scheme; empty otherwise.
    Q_INVOKABLE static QUrl logoSource(const QUrl& logoURL);
};

} // namespace kv
