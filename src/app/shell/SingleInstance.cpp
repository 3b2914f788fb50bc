#include "SingleInstance.h"

#include "Timing.h"

#include <QDataStream>
#include <QDir>
#include <QLocalSocket>
#include <QStandardPaths>

namespace kv {

QString SingleInstance::runtimeDirectory() {
    const QString runtime = qEnvironmentVariable("XDG_RUNTIME_DIR");
    return runtime.isEmpty() ? QDir::tempPath() : runtime;
}

SingleInstance::SingleInstance(QString name)
    : m_lockPath(runtimeDirectory() + u'/' + name + QStringLiteral(".lock")),
      m_socketPath(runtimeDirectory() + u'/' + name + QStringLiteral(".socket")) {
    // A path in the runtime directory, never an abstract name another user could take.
    m_server.setSocketOptions(QLocalServer::UserAccessOption);
    connect(&m_server, &QLocalServer::newConnection, this, &SingleInstance::onConnection);
}

bool SingleInstance::tryBecomePrimary() {
    m_lock = std::make_unique<QLockFile>(m_lockPath);
    m_lock->setStaleLockTime(0); // a lock whose process is gone is stale at once
    if (m_lock->tryLock(int(Timing::current().instanceLockWait.count())))
        return true;
    if (m_lock->error() == QLockFile::LockFailedError && m_lock->removeStaleLockFile())
        return m_lock->tryLock(int(Timing::current().instanceLockWait.count()));
    return false;
}

bool SingleInstance::listen() {
    QLocalServer::removeServer(m_socketPath);
    return m_server.listen(m_socketPath);
}

bool SingleInstance::forward(const QString& message) const {
    const int timeoutMs = int(Timing::current().instanceHandOffTimeout.count());
    QLocalSocket socket;
    socket.connectToServer(m_socketPath);
    if (!socket.waitForConnected(timeoutMs))
        return false;
    const QByteArray payload = message.toUtf8();
    QByteArray frame;
    QDataStream(&frame, QIODevice::WriteOnly) << quint32(payload.size());
    frame += payload;
    socket.write(frame);
    if (!socket.waitForBytesWritten(timeoutMs))
        return false;
    // The primary answers one byte once it has taken the message.
    return socket.waitForReadyRead(timeoutMs) && socket.read(1) == "k";
}

void SingleInstance::onConnection() {
    while (QLocalSocket* socket = m_server.nextPendingConnection()) {
        connect(socket, &QLocalSocket::disconnected, socket, &QObject::deleteLater);
        connect(socket, &QLocalSocket::readyRead, socket, [this, socket] {
            if (socket->bytesAvailable() < 4)
                return;
            quint32 length = 0;
            QDataStream(socket->peek(4)) >> length;
            if (length > 64 * 1024) { // no URL is that long
                socket->abort();
                return;
            }
            if (socket->bytesAvailable() < 4 + qint64(length))
                return;
            socket->read(4);
            const QString message = QString::fromUtf8(socket->read(length));
            socket->write("k");
            socket->flush();
            if (message == QLatin1StringView(kActivate))
                emit activationRequested();
            else
                emit urlReceived(QUrl(message));
        });
    }
}

std::optional<QUrl> SingleInstance::urlArgument(const QStringList& arguments) {
    if (arguments.size() != 1)
        return std::nullopt;
    const QUrl url(arguments.first(), QUrl::StrictMode);
    if (!url.isValid() || url.scheme().toLower() != u"kestovar")
        return std::nullopt;
    return url;
}

} // namespace kv
