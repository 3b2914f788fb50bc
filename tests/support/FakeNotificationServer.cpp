#include "FakeNotificationServer.h"

#include <QDBusMessage>

namespace kv::test {

FakeNotificationServer::FakeNotificationServer(QString serviceName, QStringList capabilities)
    : m_service(std::move(serviceName)), m_capabilities(std::move(capabilities)),
      m_bus(QDBusConnection::connectToBus(QDBusConnection::SessionBus, "fake-" + m_service)) {
    m_registered = m_bus.isConnected() &&
                   m_bus.registerObject("/org/freedesktop/Notifications", this,
                                        QDBusConnection::ExportAllSlots) &&
                   m_bus.registerService(m_service);
}

FakeNotificationServer::~FakeNotificationServer() {
    m_bus.unregisterService(m_service);
    m_bus.unregisterObject("/org/freedesktop/Notifications");
    QDBusConnection::disconnectFromBus("fake-" + m_service);
}

QStringList FakeNotificationServer::GetCapabilities() {
    return m_capabilities;
}

uint FakeNotificationServer::Notify(const QString& appName, uint replacesId, const QString& appIcon,
                                    const QString& summary, const QString& body,
                                    const QStringList& actions, const QVariantMap& hints,
                                    int timeout) {
    const uint id = replacesId != 0 ? replacesId : m_nextId++;
    calls.append(
        NotifyCall{appName, replacesId, appIcon, summary, body, actions, hints, timeout, id});
    return id;
}

void FakeNotificationServer::CloseNotification(uint id) {
    closedByCaller.append(id);
    close(id);
}

QString FakeNotificationServer::GetServerInformation(QString& vendor, QString& version,
                                                     QString& specVersion) {
    vendor = "Kestovar tests";
    version = "1";
    specVersion = "1.2";
    return "fake";
}

void FakeNotificationServer::emitSignal(const QString& name, const QVariantList& arguments) {
    QDBusMessage signal = QDBusMessage::createSignal("/org/freedesktop/Notifications",
                                                     "org.freedesktop.Notifications", name);
    signal.setArguments(arguments);
    m_bus.send(signal);
}

void FakeNotificationServer::invokeAction(uint id, const QString& action,
                                          const QString& activationToken) {
    if (!activationToken.isEmpty())
        emitSignal("ActivationToken", {id, activationToken});
    emitSignal("ActionInvoked", {id, action});
}

void FakeNotificationServer::typeReply(uint id, const QString& text) {
    emitSignal("NotificationReplied", {id, text});
}

void FakeNotificationServer::close(uint id) {
    emitSignal("NotificationClosed", {id, uint(2)});
}

} // namespace kv::test
