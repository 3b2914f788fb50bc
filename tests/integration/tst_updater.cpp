// Software updates from an appcast served by the simulated service.

#include "RecordingBrowser.h"
#include "SimServer.h"
#include "Updater.h"

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
        const auto newest = Updater::newestRelease(feed);
        QVERIFY(newest);
        QCOMPARE(newest->shortVersion, u"1.10.0"_qs);
        QCOMPARE(newest->build, u"9"_qs);
        QCOMPARE(newest->page, QUrl("/b"));
        QVERIFY(!Updater::newestRelease("<rss><channel></channel></rss>"));
        QVERIFY(!Updater::newestRelease("<rss><channel><item>")); // cut off
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
        QCOMPARE(browser.opened, QList<QUrl>{QUrl(sim.baseUrl() + "/releases/0.2.0")});

        Updater nowhere(&network, &browser, QUrl("http://127.0.0.1:9/appcast.xml"));
        nowhere.checkForUpdates();
        QTRY_VERIFY(nowhere.status().startsWith("Couldn't check for updates: "));
        QCOMPARE(browser.opened.size(), 1);
    }
};

QTEST_GUILESS_MAIN(TestUpdater)
#include "tst_updater.moc"
