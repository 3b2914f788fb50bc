// The colour parser, the short date formats, the font scale, agents' tiles
// and logos, and what the screens' engine may fetch.

#include "EngineNetwork.h"
#include "Enums.h"
#include "LogCapture.h"
#include "ProjectLook.h"
#include "RequestCounter.h"
#include "TextScale.h"
#include "TimeText.h"
#include "UiTexts.h"

#include "TestLocale.h"
#include <QNetworkReply>
#include <QSignalSpy>

#include <QTest>

using kv::ProjectLook;
using kv::TextScale;
using kv::UiTexts;
namespace times = kv::times;

class TestProjectLook : public QObject {
    Q_OBJECT

private slots:
    void initTestCase() {
        QVERIFY2(kv::test::requestedLocaleApplies(),
                 "the de_DE.UTF-8 locale is not installed (scripts/install-deps generates it)");
    }

    void colours_data() {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("rgb"); // empty: no colour
        QTest::newRow("with hash") << "#2F6FEB"
                                   << "#2f6feb";
        QTest::newRow("without hash, mixed case") << "0a0B0c"
                                                  << "#0a0b0c";
        QTest::newRow("spaces and tabs around") << " \t#ffffff \t"
                                                << "#ffffff";
        QTest::newRow("five digits") << "#12345"
                                     << "";
        QTest::newRow("seven digits") << "#1234567"
                                      << "";
        QTest::newRow("two hashes") << "##123456"
                                    << "";
        QTest::newRow("not hex") << "#12345G"
                                 << "";
        QTest::newRow("inner space") << "#12 456"
                                     << "";
        QTest::newRow("empty") << ""
                               << "";
        QTest::newRow("only hash") << "#"
                                   << "";
        QTest::newRow("fullwidth digits") << "１２３４５６"
                                          << "";
    }

    void colours() {
        QFETCH(QString, text);
        QFETCH(QString, rgb);
        const auto colour = ProjectLook::parseHexColor(text);
        if (rgb.isEmpty())
            QVERIFY(!colour);
        else
            QCOMPARE(colour->name(), rgb);
        ProjectLook ui;
        QVERIFY(!ui.color(QVariant()).isValid()); // absent: none
    }

    void shortDates() {
        const QDateTime now = QDateTime::currentDateTime();
        auto ago = [&](qint64 seconds) { return now.addSecs(-seconds); };
        QCOMPARE(times::relativeShort(ago(59), now), u"now"_qs);
        QCOMPARE(times::relativeShort(ago(-30), now), u"now"_qs); // the future
        QCOMPARE(times::relativeShort(ago(60), now), u"1m"_qs);
        QCOMPARE(times::relativeShort(ago(3599), now), u"59m"_qs);
        QCOMPARE(times::relativeShort(ago(3600), now), u"1h"_qs);
        QCOMPARE(times::relativeShort(ago(86399), now), u"23h"_qs);
        QCOMPARE(times::relativeShort(ago(86400), now), u"1d"_qs);
        QCOMPARE(times::relativeShort(ago(604799), now), u"6d"_qs);
        QCOMPARE(times::relativeShort(ago(604800), now),
                 QLocale().toString(ago(604800), u"MMM d"_qs));

        QCOMPARE(times::timeAndDay(ago(86399), now), QLocale().toString(ago(86399), u"HH:mm"_qs));
        QCOMPARE(times::timeAndDay(ago(-600), now), QLocale().toString(ago(-600), u"HH:mm"_qs));
        QCOMPARE(times::timeAndDay(ago(86400), now),
                 QLocale().toString(ago(86400), u"MMM d · HH:mm"_qs));
    }

    void trayUnreadLine() {
        QCOMPARE(UiTexts::unreadLine(0), u"No unread conversations"_qs);
        QCOMPARE(UiTexts::unreadLine(2 + 3), u"5 unread"_qs);
    }

    void fontScale() {
        QCOMPARE(TextScale::factor(int(kv::FontSizePreference::small)), 1.0);
        QCOMPARE(TextScale::factor(int(kv::FontSizePreference::normal)), 1.15);
        QCOMPARE(TextScale::factor(int(kv::FontSizePreference::large)), 1.3);
        QCOMPARE(TextScale::factor(int(kv::FontSizePreference::extraLarge)), 1.48);
    }

    void agentTiles() {
        QCOMPARE(ProjectLook::initials("x"), u"X"_qs);
        QCOMPARE(ProjectLook::initials("Northwind Support"), u"NO"_qs);
        QCOMPARE(ProjectLook::initials(""), QString());
        // Never half a character: outside the basic plane, emoji sequences, accents.
        QCOMPARE(ProjectLook::initials(u"\U0001D4B3yz"_qs), u"\U0001D4B3Y"_qs);
        QCOMPARE(ProjectLook::initials(u"👩‍💻dev"_qs), u"👩‍💻D"_qs);
        QCOMPARE(ProjectLook::initials(u"e\u0301tude"_qs), u"E\u0301T"_qs);
        const QString lone = QChar(0xD800) + u"ab"_qs;
        QCOMPARE(ProjectLook::initials(lone), QChar(0xD800) + u"A"_qs);
    }

    void logosOnlyFromTheWeb() {
        QCOMPARE(ProjectLook::logoSource(QUrl("https://cdn.example/logo.png")),
                 QUrl("https://cdn.example/logo.png"));
        QCOMPARE(ProjectLook::logoSource(QUrl("http://127.0.0.1:8080/l.svg")),
                 QUrl("http://127.0.0.1:8080/l.svg"));
        for (const char* refused :
             {"file:///dev/zero", "javascript:alert(1)", "data:image/png;base64,AA",
              "qrc:/Kestovar/appicon/app.svg", "/relative.png", "https://"})
            QCOMPARE(ProjectLook::logoSource(QUrl(refused)), QUrl());
    }

    // The engine's network: the logos named, and data: symbols; nothing else leaves.
    void engineFetchesOnlyNamedLogos() {
        kv::test::RequestCounter counter;
        auto policy = std::make_shared<kv::EngineFetchPolicy>();
        const QUrl logo(counter.origin() + "/logo.png");
        policy->setAllowed({logo});
        kv::EngineNetworkFactory factory(policy);
        std::unique_ptr<QNetworkAccessManager> network(factory.create(nullptr));
        kv::test::LogCapture log;

        const auto get = [&](const QUrl& url) {
            QNetworkReply* reply = network->get(QNetworkRequest(url));
            QSignalSpy finished(reply, &QNetworkReply::finished);
            if (!reply->isFinished())
                finished.wait(5'000);
            const auto error = reply->error();
            reply->deleteLater();
            return error;
        };
        const QUrl pixel(counter.origin() + "/pixel.png");
        QCOMPARE(get(pixel), QNetworkReply::ContentAccessDenied);
        QCOMPARE(get(pixel), QNetworkReply::ContentAccessDenied);
        QCOMPARE(network->post(QNetworkRequest(logo), QByteArray("x"))->error(),
                 QNetworkReply::ContentAccessDenied); // only a GET
        QCOMPARE(get(QUrl("file:///etc/passwd")), QNetworkReply::ContentAccessDenied);
        QCOMPARE(get(QUrl("data:text/plain,symbol")), QNetworkReply::NoError);
        // The named logo goes out (the origin answers 404): the barrier for the checks below.
        QCOMPARE(get(logo), QNetworkReply::ContentNotFoundError);
        QCOMPARE(counter.requests, QStringList{u"GET /logo.png"_qs});
        // Each refused address is said once.
        QCOMPARE(log.messages("AppDelegate").filter("refused to fetch " + pixel.toString()).size(),
                 1);

        policy->setAllowed({}); // the agent is gone
        QCOMPARE(get(logo), QNetworkReply::ContentAccessDenied);
    }
};

QTEST_GUILESS_MAIN(TestProjectLook)
#include "tst_projectlook.moc"
