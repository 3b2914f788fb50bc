#include "ConnectivityWatcher.h"

#include <QNetworkInformation>

namespace kv {

ConnectivityWatcher::ConnectivityWatcher(QDBusConnection systemBus, QObject* parent)
    : QObject(parent) {
    if (!systemBus.isConnected())
        return; // no logind to ask: wake-ups go unseen, the watchdog still catches a dead stream
    systemBus.connect(QString::fromLatin1(kLogindService), QString::fromLatin1(kLogindPath),
                      QString::fromLatin1(kLogindInterface), QStringLiteral("PrepareForSleep"),
                      this, SLOT(prepareForSleep(bool)));
}

bool ConnectivityWatcher::watchNetwork() {
    if (!QNetworkInformation::loadBackendByFeatures(QNetworkInformation::Feature::Reachability))
        return false;
    QNetworkInformation* info = QNetworkInformation::instance();
    connect(info, &QNetworkInformation::reachabilityChanged, this,
            [this](QNetworkInformation::Reachability reachability) {
                // A network with no way out is down; one that only looks limited may
                // still reach the service (a proxy, a captive check that fails).
                reachabilityChanged(reachability !=
                                        QNetworkInformation::Reachability::Disconnected &&
                                    reachability != QNetworkInformation::Reachability::Local);
            });
    return true;
}

void ConnectivityWatcher::reachabilityChanged(bool online) {
    if (online == m_online)
        return;
    m_online = online;
    if (online)
        emit resumed(QStringLiteral("network back"));
    else
        emit networkLost();
}

void ConnectivityWatcher::prepareForSleep(bool sleeping) {
    if (!sleeping)
        emit resumed(QStringLiteral("resume from sleep"));
}

} // namespace kv
