#pragma once

// Whether the desktop prefers a dark scheme: the freedesktop appearance
// setting ("color-scheme" through the settings portal), followed as it
// changes, else the application palette's lightness.

#include <QDBusVariant>
#include <QObject>
#include <QtQml/qqmlregistration.h>

namespace kv {

// One per QML engine, made by it on first use.
class SystemAppearance : public QObject {
    Q_OBJECT
    QML_ELEMENT
    QML_SINGLETON
    Q_PROPERTY(bool dark READ dark NOTIFY darkChanged)

public:
    explicit SystemAppearance(QObject* parent = nullptr);
    bool dark() const { return m_dark; }

signals:
    void darkChanged();

private slots:
    void onSettingChanged(const QString& group, const QString& key, const QDBusVariant& value);

private:
    void setDark(bool dark);
    bool paletteIsDark() const;

    bool m_dark = false;
};

} // namespace kv
