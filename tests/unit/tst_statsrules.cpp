// The statistics' texts and figures without a window.

#include "StatsRules.h"
#include "TestLocale.h"
#include "UiTexts.h"

#include <QTest>

using namespace kv;

class TestStatsRules : public QObject {
    Q_OBJECT

private slots:
    // Run again under a desktop locale that writes "0,76" (the _de run): the
    // numbers the screens show keep their ".".
    void initTestCase() {
        QVERIFY2(kv::test::requestedLocaleApplies(),
                 "the de_DE.UTF-8 locale is not installed (scripts/install-deps generates it)");
    }

    void statsTexts() {
        QCOMPARE(stats::deltaText(5, 0), std::nullopt);
        QCOMPARE(stats::deltaText(5, -3), std::nullopt);
        QCOMPARE(stats::deltaText(12, 10), u"↑ 20%"_qs);
        QCOMPARE(stats::deltaText(9, 10), u"↓ 10%"_qs);
        QCOMPARE(stats::deltaText(10, 10), u"—"_qs);
        QCOMPARE(stats::deltaText(4, 3), u"↑ 33%"_qs);
        QCOMPARE(stats::deltaText(1000, 1001), u"—"_qs); // −0.09 % rounds toward zero
        QCOMPARE(stats::deltaText(0, 7), u"↓ 100%"_qs);
        QCOMPARE(stats::deltaText(129, 100), u"↑ 29%"_qs); // not 28 from 28.999…

        QCOMPARE(stats::resolutionRate(0.429), u"42%"_qs);
        QCOMPARE(stats::resolutionRate(0.29), u"29%"_qs);
        QCOMPARE(stats::resolutionRate(0), u"0%"_qs);
        QCOMPARE(stats::resolutionRate(1), u"100%"_qs);

        QCOMPARE(stats::filledStars(3.0), 3);
        QCOMPARE(stats::filledStars(3.5), 4);
        QCOMPARE(stats::filledStars(4.2), 5);
        QCOMPARE(stats::filledStars(std::nullopt), 0);
        QCOMPARE(stats::averageText(4.25), u"4.2"_qs);
        QCOMPARE(stats::averageText(std::nullopt), u"0.0"_qs);

        QCOMPARE(stats::axisTop(0), 4);
        QCOMPARE(stats::axisTop(5), 8);
        QCOMPARE(stats::axisTop(9), 20);
        QCOMPARE(stats::axisTop(100), 100);
        QCOMPARE(stats::axisTop(450), 500);
        QCOMPARE(stats::axisTop(3'000'000'000'000), std::numeric_limits<int>::max());

        // The chart's line passes through every day's count, never swings past its
        // neighbours (nor below zero) between them, and the area closes on the axis.
        const QList<double> counts{0, 10, 10, 2, 0, 8};
        const QSizeF plot(500, 100);
        const QList<QPointF> line = stats::smoothCurve(counts, 20, plot, 8);
        QCOMPARE(line.size(), 5 * 8 + 1);
        for (qsizetype day = 0; day < counts.size(); ++day) {
            QCOMPARE(line[day * 8].x(), day * 100.0);
            QCOMPARE(line[day * 8].y(), 100 * (1 - counts[day] / 20));
        }
        for (qsizetype i = 0; i + 1 < line.size(); ++i) {
            const qsizetype day = i / 8;
            const double low = 100 * (1 - std::max(counts[day], counts[day + 1]) / 20);
            const double high = 100 * (1 - std::min(counts[day], counts[day + 1]) / 20);
            QVERIFY2(line[i].y() >= low - 1e-9 && line[i].y() <= high + 1e-9,
                     qPrintable(QString::number(i)));
        }
        const QList<QPointF> area = stats::areaUnder(line, plot);
        QCOMPARE(area.size(), line.size() + 3);
        QCOMPARE(area[area.size() - 3], QPointF(500, 100));
        QCOMPARE(area[area.size() - 2], QPointF(0, 100));
        QCOMPARE(stats::smoothCurve({5}, 10, plot), (QList<QPointF>{{0, 50}, {500, 50}}));
        QVERIFY(stats::smoothCurve({}, 10, plot).isEmpty());
        QVERIFY(stats::areaUnder({}, plot).isEmpty());

        QCOMPARE(stats::labelStride(7), 1);
        QCOMPARE(stats::labelStride(8), 1);
        QCOMPARE(stats::labelStride(30), 3);
        QCOMPARE(stats::labelStride(90), 11);
        // The service's day, whatever the operator's zone.
        QCOMPARE(stats::dayLabel(QDateTime(QDate(2026, 12, 3), QTime(0, 0), Qt::UTC)), u"Dec 3"_qs);

        QCOMPARE(stats::headerSubtitle(false, true, 30), u"Loading…"_qs);
        QCOMPARE(stats::headerSubtitle(true, false, 30), u"Couldn’t load stats"_qs);
        QCOMPARE(stats::headerSubtitle(false, false, 30), u"Last 30 days"_qs);
    }
};

QTEST_GUILESS_MAIN(TestStatsRules)
#include "tst_statsrules.moc"
