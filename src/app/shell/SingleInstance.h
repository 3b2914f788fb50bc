#pragma once

// One console per user session. The first process holds a lock file in the
// runtime directory and listens on a local socket beside it; a later launch
// hands its URL (or a plain "activate") to that process and exits before it
// builds an application of its own.

#include <QLocalServer>
#include <QLockFile>
#include <QObject>
#include <QUrl>

#include <memory>

namespace kv {

class SingleInstance : public QObject {
    Q_OBJECT

public:
    static constexpr char kActivate[] = "activate";

    // Where the lock and the socket live: $XDG_RUNTIME_DIR, else the temp directory.
    static QString runtimeDirectory();
    explicit SingleInstance(QString name = QStringLiteral("com.kestovar.Kestovar"));

    // True when this process is the one: it holds the lock (stale locks are taken over).
    bool tryBecomePrimary();
    // From a later launch: deliver `message` to the primary; true when it acknowledged.
    bool forward(const QString& message) const;
    // The primary starts listening for later launches.
    bool listen();

    // The one argument that is a kestovar: URL, if any.
    static std::optional<QUrl> urlArgument(const QStringList& arguments);

signals:
    void urlReceived(const QUrl& url);
    void activationRequested();

private:
    void onConnection();

    QString m_lockPath;
    QString m_socketPath;
    std::unique_ptr<QLockFile> m_lock;
    QLocalServer m_server;
};

} // namespace kv
