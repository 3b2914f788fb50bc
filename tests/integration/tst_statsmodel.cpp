// The stats screen's view-model: figures of the chosen agent and range from the
// state's cache, "—" until they arrive, and a failure said with Retry.

#include "Await.h"
#include "StatsModel.h"
#include "ViewModelWorld.h"

#include <QTest>

using namespace kv;
using kv::test::await;

class TestStatsModel : public QObject, public test::ViewModelWorld {
    Q_OBJECT

private slots:
    void init() { QVERIFY(start()); }
    void cleanup() { stop(); }

    void statsFollowTheKeyFromTheCache() {
        await(state->bootstrap());
        StatsModel stats(state.get(), nullptr); // shown: the 30 days of all agents load
        QCOMPARE(stats.subtitle(), u"Loading…"_qs);
        QCOMPARE(stats.conversations(), u"—"_qs); // no figure before one arrived
        QCOMPARE(stats.averageRating(), u"—"_qs);
        QCOMPARE(stats.filledStars(), 0);
        QTRY_COMPARE(stats.subtitle(), u"Last 30 days"_qs);
        QVERIFY(stats.conversations().toLongLong() > 0);
        QVERIFY(!stats.topAgents().isEmpty());
        QCOMPARE(stats.pointCount(), 30);
        QCOMPARE(stats.axisLabels().size(), 10); // every third day
        QCOMPARE(stats.axisLabels()[1].at, 3);
        QVERIFY(stats.chartTop() > 0);

        // Another range loads; back again comes from the cache, at once.
        stats.setRangeIndex(0);
        QCOMPARE(state->statsDays(), 7);
        QTRY_COMPARE(stats.subtitle(), u"Last 7 days"_qs);
        const auto asked = received().count("GET /api/v2/stats");
        stats.setRangeIndex(1);
        QCOMPARE(stats.subtitle(), u"Last 30 days"_qs);
        QCOMPARE(received().count("GET /api/v2/stats"), asked);

        // A range left while it loads is no failure of its own.
        addFault(R"({"kind":"delay","path":"/api/v2/stats","delay_ms":400,"times":1})");
        stats.setRangeIndex(2);
        QTRY_VERIFY(sim->arrivals().count("GET /api/v2/stats?days=90") == 1);
        stats.setRangeIndex(1);
        // Once the service has answered the late request, nothing more is coming.
        QTRY_VERIFY(
            std::any_of(sim->requests().begin(), sim->requests().end(), [](const QJsonValue& r) {
                return r["target"].toString() == u"/api/v2/stats?days=90";
            }));
        QCoreApplication::processEvents();
        QCOMPARE(state->statsError(AppState::statsKey(std::nullopt, 90)), std::nullopt);
        QCOMPARE(stats.subtitle(), u"Last 30 days"_qs);

        // A failure: no figures, the reason behind Retry; Retry loads again.
        addFault(R"({"path":"/api/v2/stats","status":503,"body":"busy","times":1})");
        stats.setRangeIndex(2);
        QTRY_VERIFY(stats.failed());
        QCOMPARE(stats.subtitle(), u"Couldn’t load stats"_qs);
        QCOMPARE(stats.conversations(), u"—"_qs);
        QCOMPARE(stats.resolutionRate(), u"—"_qs);
        QCOMPARE(stats.error(), u"Couldn’t load stats: HTTP 503: busy"_qs);
        stats.retry();
        QCOMPARE(stats.subtitle(), u"Loading…"_qs);
        QTRY_COMPARE(stats.subtitle(), u"Last 90 days"_qs);

        // One agent without top agents in its answer: no top agents.
        state->setSelectedProjectID(u"p1"_qs);
        QTRY_COMPARE(stats.subtitle(), u"Last 90 days"_qs);
        QVERIFY(stats.topAgents().isEmpty());
    }
};

QTEST_MAIN(TestStatsModel)
#include "tst_statsmodel.moc"
