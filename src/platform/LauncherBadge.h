#pragma once

// The unread count on the launcher icon, as the Unity launcher-entry D-Bus
// protocol carries it (docks and panels that show counts listen for it).

#include "platform/Badge.h"

#include <QDBusConnection>
#include <QObject>
#include <QVariantMap>

namespace kv {

class LauncherBadge final : public QObject, public Badge {
    Q_OBJECT
    Q_CLASSINFO("D-Bus Interface", "com.canonical.Unity.LauncherEntry")

public:
    static constexpr char kPath[] = "/com/kestovar/Kestovar/LauncherEntry";

    explicit LauncherBadge(QDBusConnection bus = QDBusConnection::sessionBus(),
                           QObject* parent = nullptr);

    void setCount(qint64 count) override;
    qint64 count() const { return m_count; }

public slots:
    // Asked by a launcher that starts after us: the current state.
    QString Query(QVariantMap& properties);

private:
    QVariantMap properties() const;

    QDBusConnection m_bus;
    qint64 m_count = 0;
};

} // namespace kv
