// The colour parser, the short date formats and the font scale the screens use.

#include "Enums.h"
#include "UiSupport.h"

#include <QTest>

using kv::UiSupport;

class TestUiSupport : public QObject {
    Q_OBJECT

private slots:
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
        const auto colour = UiSupport::parseHexColor(text);
        if (rgb.isEmpty())
            QVERIFY(!colour);
        else
            QCOMPARE(colour->name(), rgb);
        UiSupport ui;
        QVERIFY(!ui.color(QVariant()).isValid()); // absent: none
    }

    void shortDates() {
        const QDateTime now = QDateTime::currentDateTime();
        auto ago = [&](qint64 seconds) { return now.addSecs(-seconds); };
        QCOMPARE(UiSupport::relativeShort(ago(59), now), u"now"_qs);
        QCOMPARE(UiSupport::relativeShort(ago(-30), now), u"now"_qs); // the future
        QCOMPARE(UiSupport::relativeShort(ago(60), now), u"1m"_qs);
        QCOMPARE(UiSupport::relativeShort(ago(3599), now), u"59m"_qs);
        QCOMPARE(UiSupport::relativeShort(ago(3600), now), u"1h"_qs);
        QCOMPARE(UiSupport::relativeShort(ago(86399), now), u"23h"_qs);
        QCOMPARE(UiSupport::relativeShort(ago(86400), now), u"1d"_qs);
        QCOMPARE(UiSupport::relativeShort(ago(604799), now), u"6d"_qs);
        QCOMPARE(UiSupport::relativeShort(ago(604800), now),
                 QLocale().toString(ago(604800), u"MMM d"_qs));

        QCOMPARE(UiSupport::timeAndDay(ago(86399), now),
                 QLocale().toString(ago(86399), u"HH:mm"_qs));
        QCOMPARE(UiSupport::timeAndDay(ago(-600), now), QLocale().toString(ago(-600), u"HH:mm"_qs));
        QCOMPARE(UiSupport::timeAndDay(ago(86400), now),
                 QLocale().toString(ago(86400), u"MMM d · HH:mm"_qs));
    }

    void trayUnreadLine() {
        QCOMPARE(UiSupport::unreadLine(0), u"No unread conversations"_qs);
        QCOMPARE(UiSupport::unreadLine(2 + 3), u"5 unread"_qs);
    }

    void fontScale() {
        QCOMPARE(UiSupport::fontScale(int(kv::FontSizePreference::small)), 1.0);
        QCOMPARE(UiSupport::fontScale(int(kv::FontSizePreference::normal)), 1.15);
        QCOMPARE(UiSupport::fontScale(int(kv::FontSizePreference::large)), 1.3);
        QCOMPARE(UiSupport::fontScale(int(kv::FontSizePreference::extraLarge)), 1.48);
    }
};

QTEST_GUILESS_MAIN(TestUiSupport)
#include "tst_uisupport.moc"
