#pragma once

// Software updates from an appcast (an RSS feed of releases, one item per
// version with its version numbers and a download page). Checks run on a
// schedule from launch and when asked. A newer release is offered (its
// version and page, which `openReleasePage` opens), never opened unasked;
// a feed that cannot be read, lists no release or is not a feed at all is
// reported as a failed check, never as "the newest version".

#include <QNetworkAccessManager>
#include <QObject>
#include <QTimer>
#include <QUrl>
#include <QtQml/qqmlregistration.h>

#include <optional>

namespace kv {

class Browser;

struct Release {
    QString shortVersion; // "1.4.2"
    QString build;        // "57"
    QUrl page;

    // The version compared and shown: the short one, else the build.
    QString version() const { return shortVersion.isEmpty() ? build : shortVersion; }
};

// What a feed says: its newest release, or why it says nothing usable.
struct FeedReading {
    std::optional<Release> newest;
    QString failure; // empty when `newest` is set
};

class Updater : public QObject {
    Q_OBJECT
    Q_PROPERTY(bool canCheckForUpdates READ canCheckForUpdates NOTIFY canCheckForUpdatesChanged)
    Q_PROPERTY(QString shortVersion READ shortVersion CONSTANT)
    Q_PROPERTY(QString buildVersion READ buildVersion CONSTANT)
    Q_PROPERTY(QString status READ status NOTIFY statusChanged)
    // The newer version found by the last check; empty when there is none.
    Q_PROPERTY(QString availableVersion READ availableVersion NOTIFY statusChanged)

public:
    Updater(QNetworkAccessManager* network, Browser* browser, QUrl feed, QObject* parent = nullptr);

    bool canCheckForUpdates() const { return !m_checking && m_feed.isValid(); }
    Q_INVOKABLE void checkForUpdates();
    // Checks shortly after launch, then once a day.
    void startScheduledChecks();
    // Opens the page of the newer release found, in the browser.
    Q_INVOKABLE void openReleasePage();

    // This build's version texts, "—" when the build does not say.
    QString shortVersion() const;
    QString buildVersion() const;
    QString status() const { return m_status; }
    QString availableVersion() const { return m_available ? m_available->version() : QString(); }

    static FeedReading readFeed(const QByteArray& feed);
    // True when `candidate` is newer than `current` (numeric, part by part).
    static bool isNewer(const QString& candidate, const QString& current);

signals:
    void canCheckForUpdatesChanged();
    void statusChanged();

private:
    void setStatus(const QString& status);
    // A failed check keeps what an earlier one offered: the release is still there.
    void setOffer(std::optional<Release> release);
    void finish(QNetworkReply* reply);

    QNetworkAccessManager* m_network;
    Browser* m_browser;
    QUrl m_feed;
    bool m_checking = false;
    QString m_status;
    std::optional<Release> m_available;
    QTimer m_schedule;
};

} // namespace kv
