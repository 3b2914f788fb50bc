#pragma once

// A loopback HTTP origin that remembers every request that reached it: how a
// test sees that the console fetched an address it should not have. It answers
// 404, except for the paths a test gave a body to.

#include <QHash>
#include <QHostAddress>
#include <QStringList>
#include <QTcpServer>
#include <QTcpSocket>

namespace kv::test {

class RequestCounter : public QObject {
    Q_OBJECT

public:
    RequestCounter() {
        m_server.listen(QHostAddress::LocalHost);
        connect(&m_server, &QTcpServer::newConnection, this, &RequestCounter::accept);
    }

    QString origin() const {
        return QStringLiteral("http://127.0.0.1:%1").arg(m_server.serverPort());
    }
    // "METHOD /path" of every request received, oldest first; a connection
    // that sent no request line counts as "(connection)".
    QStringList requests;
    // Bodies to answer with, by path ("/logo.png").
    QHash<QString, QByteArray> bodies;

private:
    void accept() {
        while (QTcpSocket* socket = m_server.nextPendingConnection()) {
            connect(socket, &QTcpSocket::readyRead, socket, [this, socket] {
                if (!socket->canReadLine())
                    return;
                const QList<QByteArray> line = socket->readLine().trimmed().split(' ');
                requests.append(QString::fromLatin1(line.value(0) + ' ' + line.value(1)));
                const auto body = bodies.constFind(QString::fromLatin1(line.value(1)));
                if (body == bodies.cend())
                    socket->write("HTTP/1.1 404 Not Found\r\nContent-Length: 0\r\nConnection: "
                                  "close\r\n\r\n");
                else
                    socket->write(
                        "HTTP/1.1 200 OK\r\nContent-Length: " + QByteArray::number(body->size()) +
                        "\r\nConnection: close\r\n\r\n" + *body);
                socket->disconnectFromHost();
            });
            connect(socket, &QTcpSocket::disconnected, socket, &QObject::deleteLater);
        }
    }

    QTcpServer m_server;
};

} // namespace kv::test
