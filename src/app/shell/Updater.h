#pragma once

// Software updates from an appcast (an RSS feed of releases, one item per
// version with its version numbers and a download page): a check compares
// the newest item with this build and offers its page in the browser.

#include <QNetworkAccessManager>
#include <QObject>
#include <QUrl>
#include <QtQml/qqmlregistration.h>

namespace kv {

class Browser;

struct Release {
    QString shortVersion; // "1.4.2"
    QString build;        // "57"
    QUrl page;
};

class Updater : public QObject {
    Q_OBJECT
    Q_PROPERTY(bool canCheckForUpdates READ canCheckForUpdates NOTIFY canCheckForUpdatesChanged)
    Q_PROPERTY(QString shortVersion READ shortVersion CONSTANT)
    Q_PROPERTY(QString buildVersion READ buildVersion CONSTANT)
    Q_PROPERTY(QString status READ status NOTIFY statusChanged)

public:
    Updater(QNetworkAccessManager* network, Browser* browser, QUrl feed, QObject* parent = nullptr);

    bool canCheckForUpdates() const { return !m_checking && m_feed.isValid(); }
    Q_INVOKABLE void checkForUpdates();
    // This build's version texts, "—" when the build does not say.
    QString shortVersion() const;
    QString buildVersion() const;
    QString status() const { return m_status; }

    // The newest release of a feed; none when it holds none.
    static std::optional<Release> newestRelease(const QByteArray& feed);
    // True when `candidate` is newer than `current` (numeric, part by part).
    static bool isNewer(const QString& candidate, const QString& current);

signals:
    void canCheckForUpdatesChanged();
    void statusChanged();

private:
    void setStatus(const QString& status);

    QNetworkAccessManager* m_network;
    Browser* m_browser;
    QUrl m_feed;
    bool m_checking = false;
    QString m_status;
};

} // namespace kv
