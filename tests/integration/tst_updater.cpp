// Software updates from an appcast served by the simulated service.

#include "RecordingBrowser.h"
#include "SimServer.h"
#include "Timing.h"
#include "Updater.h"

#include <QJsonObject>
#include <QSignalSpy>
#include <QTest>

using kv::Release;
using kv::Updater;

class TestUpdater : public QObject {
    Q_OBJECT

private slots:
    void versions() {
        QVERIFY(Updater::isNewer("0.2.0", "0.1.0"));
        QVERIFY(Updater::isNewer("0.10.0", "0.9.3")); // numbers, not text
        QVERIFY(!Updater::isNewer("0.1.0", "0.1.0"));
        QVERIFY(!Updater::isNewer("0.1", "0.1.0"));
        Updater updater(nullptr, nullptr, QUrl());
        QCOMPARE(updater.shortVersion(), u"0.1.0"_qs);
        QCOMPARE(updater.buildVersion(), u"1"_qs);
        QVERIFY(!updater.canCheckForUpdates()); // no feed
    }

    void feeds() {
        // (Plain literals: the meta-object compiler reads "//" in a raw string as a comment.)
        const QByteArray feed =
            "<rss xmlns:sparkle=\"http:/"
            "/www.andymatuschak.org/xml-namespaces/sparkle\"><channel>"
            "<item><link>/a</link><sparkle:shortVersionString>1.2.0</sparkle:shortVersionString></"
            "item>"
            "<item><link>/b</link><enclosure sparkle:shortVersionString=\"1.10.0\" "
            "sparkle:version=\"9\"/></item>"
            "<item><link>/c</link><sparkle:shortVersionString>1.9.9</sparkle:shortVersionString></"
            "item>"
            "</channel></rss>";
        const auto newest = Updater::readFeed(feed).newest;
        QVERIFY(newest);
        QCOMPARE(newest->shortVersion, u"1.10.0"_qs);
        QCOMPARE(newest->build, u"9"_qs);
        QCOMPARE(newest->page, QUrl("/b"));

        // Each way a feed can say nothing usable is a failure, with its reason.
        QCOMPARE(Updater::readFeed("<rss><channel></channel></rss>").failure,
                 u"the update feed lists no release"_qs);
        QCOMPARE(
            Updater::readFeed("<rss><channel><item><link>/a</link></item></channel></rss>").failure,
            u"the update feed lists no release"_qs); // an item without a version
        QCOMPARE(Updater::readFeed("<rss><channel><item>").failure,
                 u"the update feed could not be read"_qs); // cut off
        QCOMPARE(Updater::readFeed("").failure, u"the update feed could not be read"_qs);
        QCOMPARE(Updater::readFeed("<!DOCTYPE html><html><body>Sign in</body></html>").failure,
                 u"the update feed is not an appcast"_qs);
    }

    void checkAgainstTheService() {
        kv::sim::SimServer sim;
        QVERIFY(sim.start() > 0);
        QNetworkAccessManager network;
        kv::test::RecordingBrowser browser;
        Updater updater(&network, &browser, QUrl(sim.baseUrl() + "/appcast.xml"));
        QVERIFY(updater.canCheckForUpdates());
        QSignalSpy can(&updater, &Updater::canCheckForUpdatesChanged);
        updater.checkForUpdates();
        QVERIFY(!updater.canCheckForUpdates()); // while the check runs
        QTRY_VERIFY(updater.canCheckForUpdates());
        QCOMPARE(can.size(), 2);
        QCOMPARE(updater.status(), u"Kestovar 0.2.0 is available."_qs);
        QCOMPARE(updater.availableVersion(), u"0.2.0"_qs);
        // Offered, not opened: the page opens when the operator asks for it.
        QVERIFY(browser.opened.isEmpty());
        updater.openReleasePage();
        QCOMPARE(browser.opened, QList<QUrl>{QUrl(sim.baseUrl() + "/releases/0.2.0")});

        Updater nowhere(&network, &browser, QUrl("http://127.0.0.1:9/appcast.xml"));
        nowhere.checkForUpdates();
        QTRY_VERIFY(nowhere.status().startsWith("Couldn't check for updates: "));
        QCOMPARE(nowhere.availableVersion(), QString());
        nowhere.openReleasePage();
        QCOMPARE(browser.opened.size(), 1);
    }

    // A feed that answers but says nothing usable is a failed check, never "the newest version".
    void unusableFeedsFail_data() {
        QTest::addColumn<QByteArray>("body");
        QTest::addColumn<QString>("status");
        QTest::newRow("malformed")
            << QByteArray("<rss><channel><item><title>1.0")
            << u"Couldn't check for updates: the update feed could not be read."_qs;
        QTest::newRow("web page")
            << QByteArray("<!DOCTYPE html><html><body>Maintenance</body></html>")
            << u"Couldn't check for updates: the update feed is not an appcast."_qs;
        QTest::newRow("no items")
            << QByteArray("<rss version=\"2.0\"><channel><title>Kestovar</title></channel></rss>")
            << u"Couldn't check for updates: the update feed lists no release."_qs;
    }

    void unusableFeedsFail() {
        QFETCH(QByteArray, body);
        QFETCH(QString, status);
        kv::sim::SimServer sim;
        QVERIFY(sim.start() > 0);
        kv::sim::Fault page;
        page.path = "/appcast.xml";
        page.status = 200;
        page.body = body;
        sim.addFault(page);
        QNetworkAccessManager network;
        kv::test::RecordingBrowser browser;
        Updater updater(&network, &browser, QUrl(sim.baseUrl() + "/appcast.xml"));
        updater.checkForUpdates();
        QTRY_VERIFY(updater.canCheckForUpdates());
        QCOMPARE(updater.status(), status);
        QCOMPARE(updater.availableVersion(), QString());
        QVERIFY(browser.opened.isEmpty());
    }

    // Checks run by themselves from launch, then at each interval; none opens a page.
    void scheduledChecks() {
        kv::sim::SimServer sim;
        QVERIFY(sim.start() > 0);
        const kv::Timing saved = kv::Timing::current();
        kv::Timing::current().updateFirstCheck = std::chrono::milliseconds(50);
        kv::Timing::current().updateCheckInterval = std::chrono::milliseconds(200);
        QNetworkAccessManager network;
        kv::test::RecordingBrowser browser;
        Updater updater(&network, &browser, QUrl(sim.baseUrl() + "/appcast.xml"));
        updater.startScheduledChecks();
        const auto checks = [&] {
            int n = 0;
            for (const QJsonValue& r : sim.requests())
                n += r.toObject()["path"].toString() == u"/appcast.xml" ? 1 : 0;
            return n;
        };
        QTRY_VERIFY(checks() >= 2);
        QTRY_COMPARE(updater.availableVersion(), u"0.2.0"_qs);
        QVERIFY(browser.opened.isEmpty());
        kv::Timing::current() = saved;
    }
};

QTEST_GUILESS_MAIN(TestUpdater)
#include "tst_updater.moc"
