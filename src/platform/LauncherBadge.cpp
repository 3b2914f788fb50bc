#include "LauncherBadge.h"

#include "DesktopIds.h"

#include <QDBusMessage>

namespace kv {

LauncherBadge::LauncherBadge(QDBusConnection bus, QObject* parent)
    : QObject(parent), m_bus(std::move(bus)) {
    m_bus.registerObject(QString::fromLatin1(kPath), this, QDBusConnection::ExportAllSlots);
}

QVariantMap LauncherBadge::properties() const {
    // The protocol wants a 64-bit count and a Bool.
    return {{QStringLiteral("count"), QVariant::fromValue(qint64(m_count))},
            {QStringLiteral("count-visible"), m_count > 0}};
}

void LauncherBadge::setCount(qint64 count) {
    m_count = std::max<qint64>(0, count);
    QDBusMessage signal = QDBusMessage::createSignal(
        QString::fromLatin1(kPath), QStringLiteral("com.canonical.Unity.LauncherEntry"),
        QStringLiteral("Update"));
    signal << QString::fromLatin1(desktop::kAppUri) << properties();
    m_bus.send(signal);
}

QString LauncherBadge::Query(QVariantMap& properties) {
    properties = this->properties();
    return QString::fromLatin1(desktop::kAppUri);
}

} // namespace kv
