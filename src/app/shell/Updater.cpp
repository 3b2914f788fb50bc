#include "Updater.h"

#include "Timing.h"
#include "platform/Browser.h"
#include "service/Configuration.h"

#include <QNetworkReply>
#include <QVersionNumber>
#include <QXmlStreamReader>

namespace kv {

namespace {

constexpr char kSparkleNs[] = "http://www.andymatuschak.org/xml-namespaces/sparkle";

QString orDash(const QString& text) {
    return text.isEmpty() ? QStringLiteral("—") : text;
}

} // namespace

Updater::Updater(QNetworkAccessManager* network, Browser* browser, QUrl feed, QObject* parent)
    : QObject(parent), m_network(network), m_browser(browser), m_feed(std::move(feed)) {
    connect(&m_schedule, &QTimer::timeout, this, [this] {
        m_schedule.setInterval(Timing::current().updateCheckInterval);
        checkForUpdates();
    });
}

QString Updater::shortVersion() const {
    return orDash(Configuration::version());
}

QString Updater::buildVersion() const {
    return orDash(Configuration::buildNumber());
}

void Updater::setStatus(const QString& status) {
    if (m_status == status)
        return;
    m_status = status;
    emit statusChanged();
}

void Updater::setOffer(std::optional<Release> release) {
    if (availableVersion() == (release ? release->version() : QString()))
        return;
    m_available = std::move(release);
    emit statusChanged();
}

bool Updater::isNewer(const QString& candidate, const QString& current) {
    return QVersionNumber::compare(QVersionNumber::fromString(candidate),
                                   QVersionNumber::fromString(current)) > 0;
}

FeedReading Updater::readFeed(const QByteArray& feed) {
    QXmlStreamReader xml(feed);
    std::optional<Release> newest;
    Release item;
    bool inItem = false;
    bool isFeed = false;
    while (!xml.atEnd()) {
        xml.readNext();
        if (xml.isStartElement()) {
            const auto name = xml.name();
            // An appcast is RSS; a web page served in its place is not.
            if (!isFeed) {
                if (name != u"rss")
                    return {std::nullopt, QStringLiteral("the update feed is not an appcast")};
                isFeed = true;
            } else if (name == u"item") {
                inItem = true;
                item = Release{};
            } else if (inItem && name == u"enclosure") {
                const auto attrs = xml.attributes();
                if (attrs.hasAttribute(kSparkleNs, "shortVersionString"))
                    item.shortVersion = attrs.value(kSparkleNs, "shortVersionString").toString();
                if (attrs.hasAttribute(kSparkleNs, "version"))
                    item.build = attrs.value(kSparkleNs, "version").toString();
            } else if (inItem && xml.namespaceUri() == QLatin1StringView(kSparkleNs)) {
                const QString text = xml.readElementText();
                if (name == u"shortVersionString")
                    item.shortVersion = text;
                else if (name == u"version")
                    item.build = text;
            } else if (inItem && name == u"link") {
                item.page = QUrl(xml.readElementText().trimmed());
            }
        } else if (xml.isEndElement() && xml.name() == u"item") {
            inItem = false;
            if (!item.version().isEmpty() &&
                (!newest || isNewer(item.version(), newest->version())))
                newest = item;
        }
    }
    if (xml.hasError() || !isFeed)
        return {std::nullopt, QStringLiteral("the update feed could not be read")};
    if (!newest)
        return {std::nullopt, QStringLiteral("the update feed lists no release")};
    return {newest, QString()};
}

void Updater::startScheduledChecks() {
    if (!m_feed.isValid())
        return;
    m_schedule.start(Timing::current().updateFirstCheck);
}

void Updater::checkForUpdates() {
    if (!canCheckForUpdates())
        return;
    m_checking = true;
    emit canCheckForUpdatesChanged();
    setStatus(QStringLiteral("Checking for updates…"));
    QNetworkRequest request(m_feed);
    request.setRawHeader("User-Agent", Configuration::userAgent().toUtf8());
    request.setAttribute(QNetworkRequest::RedirectPolicyAttribute,
                         QNetworkRequest::NoLessSafeRedirectPolicy);
    request.setTransferTimeout(int(Timing::current().requestTimeout.count()));
    QNetworkReply* reply = m_network->get(request);
    connect(reply, &QNetworkReply::finished, this, [this, reply] { finish(reply); });
}

void Updater::finish(QNetworkReply* reply) {
    reply->deleteLater();
    m_checking = false;
    emit canCheckForUpdatesChanged();
    if (reply->error() != QNetworkReply::NoError) {
        setStatus(QStringLiteral("Couldn't check for updates: %1").arg(reply->errorString()));
        return;
    }
    const FeedReading feed = readFeed(reply->readAll());
    if (!feed.newest) {
        setStatus(QStringLiteral("Couldn't check for updates: %1.").arg(feed.failure));
        return;
    }
    if (!isNewer(feed.newest->version(), Configuration::version())) {
        setOffer(std::nullopt);
        setStatus(QStringLiteral("Kestovar %1 is the newest version.").arg(shortVersion()));
        return;
    }
    Release offered = *feed.newest;
    offered.page = m_feed.resolved(offered.page); // feeds may link relatively
    setOffer(offered);
    setStatus(QStringLiteral("Kestovar %1 is available.").arg(offered.version()));
}

void Updater::openReleasePage() {
    if (m_available && m_browser && m_available->page.isValid())
        m_browser->openUrl(m_available->page);
}

} // namespace kv
