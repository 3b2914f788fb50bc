#pragma once

// A scripted freedesktop notification server on its own bus connection and
// a private bus name: it records every Notify call and can play the user's
// click, typed reply or action back as the real server's signals.

#include <QDBusConnection>
#include <QObject>
#include <QStringList>
#include <QVariantMap>

namespace kv::test {

struct NotifyCall {
    QString appName;
    uint replacesId = 0;
    QString appIcon;
    QString summary;
    QString body;
    QStringList actions;
    QVariantMap hints;
    int timeout = 0;
    uint id = 0;
};

class FakeNotificationServer : public QObject {
    Q_OBJECT
    Q_CLASSINFO("D-Bus Interface", "org.freedesktop.Notifications")

public:
    // Registers `serviceName` on a connection of its own; false if that failed.
    explicit FakeNotificationServer(QString serviceName, QStringList capabilities);
    ~FakeNotificationServer() override;
    bool isRegistered() const { return m_registered; }
    QString serviceName() const { return m_service; }

    QList<NotifyCall> calls;
    QList<uint> closedByCaller; // ids the client took back with CloseNotification

    // `activationToken`: sent first, as servers that take part in window activation do.
    void invokeAction(uint id, const QString& action, const QString& activationToken = {});
    void typeReply(uint id, const QString& text);
    void close(uint id);

public slots:
    QStringList GetCapabilities();
    uint Notify(const QString& appName, uint replacesId, const QString& appIcon,
                const QString& summary, const QString& body, const QStringList& actions,
                const QVariantMap& hints, int timeout);
    void CloseNotification(uint id);
    QString GetServerInformation(QString& vendor, QString& version, QString& specVersion);

private:
    void emitSignal(const QString& name, const QVariantList& arguments);

    QString m_service;
    QStringList m_capabilities;
    QDBusConnection m_bus;
    bool m_registered = false;
    uint m_nextId = 1;
};

} // namespace kv::test
