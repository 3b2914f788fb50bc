#include "Updater.h"

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
    : QObject(parent), m_network(network), m_browser(browser), m_feed(std::move(feed)) {}

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

bool Updater::isNewer(const QString& candidate, const QString& current) {
    return QVersionNumber::compare(QVersionNumber::fromString(candidate),
                                   QVersionNumber::fromString(current)) > 0;
}

std::optional<Release> Updater::newestRelease(const QByteArray& feed) {
    QXmlStreamReader xml(feed);
    std::optional<Release> newest;
    Release item;
    bool inItem = false;
    while (!xml.atEnd()) {
        xml.readNext();
        if (xml.isStartElement()) {
            const auto name = xml.name();
            if (name == u"item") {
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
            const QString version = item.shortVersion.isEmpty() ? item.build : item.shortVersion;
            const QString best =
                newest ? (newest->shortVersion.isEmpty() ? newest->build : newest->shortVersion)
                       : QString();
            if (!version.isEmpty() && (!newest || isNewer(version, best)))
                newest = item;
        }
    }
    if (xml.hasError())
        return std::nullopt;
    return newest;
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
    QNetworkReply* reply = m_network->get(request);
    connect(reply, &QNetworkReply::finished, this, [this, reply] {
        reply->deleteLater();
        m_checking = false;
        emit canCheckForUpdatesChanged();
        if (reply->error() != QNetworkReply::NoError) {
            setStatus(QStringLiteral("Couldn't check for updates: %1").arg(reply->errorString()));
            return;
        }
        const auto release = newestRelease(reply->readAll());
        const QString current = Configuration::version();
        if (!release ||
            !isNewer(release->shortVersion.isEmpty() ? release->build : release->shortVersion,
                     current)) {
            setStatus(QStringLiteral("Kestovar %1 is the newest version.").arg(shortVersion()));
            return;
        }
        setStatus(QStringLiteral("Kestovar %1 is available.").arg(release->shortVersion));
        if (m_browser && release->page.isValid())
            m_browser->openUrl(m_feed.resolved(release->page)); // feeds may link relatively
    });
}

} // namespace kv
