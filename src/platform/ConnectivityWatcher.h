#pragma once

// Tells the console when its connections may have died without a sign: the
// machine woke from sleep (logind's PrepareForSleep(false) on the system bus)
// or the network came back, and when the network went. Reachability comes
// from Qt's network information where a backend exists; anything else that
// knows (and tests) reports it through `reachabilityChanged`.

#include <QDBusConnection>
#include <QObject>

namespace kv {

class ConnectivityWatcher : public QObject {
    Q_OBJECT

public:
    static constexpr char kLogindService[] = "org.freedesktop.login1";
    static constexpr char kLogindPath[] = "/org/freedesktop/login1";
    static constexpr char kLogindInterface[] = "org.freedesktop.login1.Manager";

    // `systemBus`: where logind lives (tests pass a bus of their own).
    explicit ConnectivityWatcher(QDBusConnection systemBus, QObject* parent = nullptr);

    // Follows the platform's reachability, when Qt has a backend for it here.
    // False when there is none: wake-ups still count.
    bool watchNetwork();

public slots:
    void reachabilityChanged(bool online);

signals:
    // Reconnect and resync: "resume from sleep" or "network back".
    void resumed(const QString& reason);
    void networkLost();

private slots:
    void prepareForSleep(bool sleeping);

private:
    bool m_online = true;
};

} // namespace kv
