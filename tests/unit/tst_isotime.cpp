#include "records/IsoTime.h"

#include <QTest>

using kv::parseISO8601Permissive;

class TestIsoTime : public QObject {
    Q_OBJECT

private slots:
    void readsInstants_data() {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("utc"); // expected, as formatted; empty: must fail

        // Exact forms.
        QTest::newRow("millis Z") << "2024-05-01T10:20:30.123Z"
                                  << "2024-05-01T10:20:30.123Z";
        QTest::newRow("whole seconds") << "2024-05-01T10:20:30Z"
                                       << "2024-05-01T10:20:30.000Z";
        QTest::newRow("millis offset") << "2024-05-01T10:20:30.123+02:00"
                                       << "2024-05-01T08:20:30.123Z";
        QTest::newRow("negative offset") << "2024-05-01T23:30:00-01:30"
                                         << "2024-05-02T01:00:00.000Z";
        // Fractions of other lengths are cut or padded.
        QTest::newRow("micros cut") << "2024-05-01T10:20:30.123456Z"
                                    << "2024-05-01T10:20:30.123Z";
        QTest::newRow("one digit padded") << "2024-05-01T10:20:30.5+02:00"
                                          << "2024-05-01T08:20:30.500Z";
        QTest::newRow("nanos with offset") << "2024-05-01T10:20:30.987654321-05:00"
                                           << "2024-05-01T15:20:30.987Z";
        // Failures.
        QTest::newRow("empty fraction") << "2024-05-01T10:20:30.Z"
                                        << "";
        QTest::newRow("date only") << "2024-05-01"
                                   << "";
        QTest::newRow("space separator") << "2024-05-01 10:20:30Z"
                                         << "";
        QTest::newRow("no zone") << "2024-05-01T10:20:30"
                                 << "";
        QTest::newRow("no zone with fraction") << "2024-05-01T10:20:30.1234"
                                               << "";
        QTest::newRow("empty") << ""
                               << "";
        QTest::newRow("offset without colon") << "2024-05-01T10:20:30+0200"
                                              << "";
        QTest::newRow("impossible day") << "2024-02-30T10:20:30Z"
                                        << "";
        QTest::newRow("hour 24") << "2024-05-01T24:00:00Z"
                                 << "";
        QTest::newRow("trailing text") << "2024-05-01T10:20:30Zjunk"
                                       << "";
        QTest::newRow("lower-case t") << "2024-05-01t10:20:30Z"
                                      << "";
        QTest::newRow("three digits but bad zone") << "2024-05-01T10:20:30.123"
                                                   << "";
        // Only instants that can be written back in four-digit years.
        QTest::newRow("first instant") << "0001-01-01T00:00:00Z"
                                       << "0001-01-01T00:00:00.000Z";
        QTest::newRow("offset before year one") << "0001-01-01T00:00:00+01:00"
                                                << "";
        QTest::newRow("last instant") << "9999-12-31T23:59:59.999Z"
                                      << "9999-12-31T23:59:59.999Z";
        QTest::newRow("offset past year 9999") << "9999-12-31T23:59:59-01:00"
                                               << "";
    }

    void readsInstants() {
        QFETCH(QString, text);
        QFETCH(QString, utc);
        const auto instant = parseISO8601Permissive(text);
        if (utc.isEmpty()) {
            QVERIFY2(!instant, qPrintable(text));
        } else {
            QVERIFY2(instant, qPrintable(text));
            QCOMPARE(kv::formatInstant(*instant), utc);
        }
    }

    void readsDays() {
        QCOMPARE(kv::formatInstant(*kv::parseDay(u"2024-02-29")), u"2024-02-29T00:00:00.000Z"_qs);
        QVERIFY(!kv::parseDay(u"2024-02-30"));
        QVERIFY(!kv::parseDay(u"2024-2-3"));
        QVERIFY(!kv::parseDay(u"2024-02-03T00:00:00Z"));
    }
};

QTEST_GUILESS_MAIN(TestIsoTime)
#include "tst_isotime.moc"
