#include "SystemAppearance.h"

#include "Timing.h"

#include <QDBusConnection>
#include <QDBusMessage>
#include <QDBusPendingCallWatcher>
#include <QDBusPendingReply>
#include <QGuiApplication>
#include <QPalette>

namespace kv {

namespace {

constexpr char kPortal[] = "org.freedesktop.portal.Desktop";
constexpr char kPath[] = "/org/freedesktop/portal/desktop";
constexpr char kSettings[] = "org.freedesktop.portal.Settings";

// color-scheme: 0 no preference, 1 prefer dark, 2 prefer light.
std::optional<bool> schemeIsDark(const QVariant& value) {
    QVariant v = value;
    while (v.canConvert<QDBusVariant>() && v.userType() == qMetaTypeId<QDBusVariant>())
        v = v.value<QDBusVariant>().variant();
    bool ok = false;
    const uint scheme = v.toUInt(&ok);
    if (!ok || scheme == 0)
        return std::nullopt;
    return scheme == 1;
}

} // namespace

SystemAppearance::SystemAppearance(QObject* parent) : QObject(parent), m_dark(paletteIsDark()) {
    QDBusConnection bus = QDBusConnection::sessionBus();
    if (!bus.isConnected())
        return;
    bus.connect(kPortal, kPath, kSettings, "SettingChanged", this,
                SLOT(onSettingChanged(QString, QString, QDBusVariant)));
    QDBusMessage read = QDBusMessage::createMethodCall(kPortal, kPath, kSettings, "Read");
    read << QStringLiteral("org.freedesktop.appearance") << QStringLiteral("color-scheme");
    auto* watcher = new QDBusPendingCallWatcher(
        bus.asyncCall(read, int(Timing::current().appearancePortalTimeout.count())), this);
    connect(watcher, &QDBusPendingCallWatcher::finished, this, [this](QDBusPendingCallWatcher* w) {
        const QDBusPendingReply<QVariant> reply = *w;
        if (!reply.isError()) {
            if (const auto dark = schemeIsDark(reply.value()))
                setDark(*dark);
        }
        w->deleteLater();
    });
}

void SystemAppearance::onSettingChanged(const QString& group, const QString& key,
                                        const QDBusVariant& value) {
    if (group != u"org.freedesktop.appearance" || key != u"color-scheme")
        return;
    setDark(schemeIsDark(value.variant()).value_or(paletteIsDark()));
}

bool SystemAppearance::paletteIsDark() const {
    if (!qGuiApp)
        return false;
    return QGuiApplication::palette().color(QPalette::Window).lightness() < 128;
}

void SystemAppearance::setDark(bool dark) {
    if (m_dark == dark)
        return;
    m_dark = dark;
    emit darkChanged();
}

} // namespace kv
