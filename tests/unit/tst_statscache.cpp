// Statistics by key: one request per key, a screen that moves on leaves no
// failure, and sign-out clears everything and drops what is on its way, so
// one account's figures never reach the next.

#include "Await.h"
#include "ScriptedRepository.h"
#include "state/Session.h"
#include "state/StatsCache.h"

#include <QSignalSpy>
#include <QTest>

using namespace kv;
using kv::test::await;
using kv::test::ScriptedRepository;

class TestStatsCache : public QObject {
    Q_OBJECT

    std::unique_ptr<ScriptedRepository> repo;
    std::unique_ptr<Session> session;
    std::unique_ptr<StatsCache> cache;

private slots:
    void init() {
        repo = std::make_unique<ScriptedRepository>();
        repo->stats.conversations = 42;
        session = std::make_unique<Session>();
        session->setStatus(AuthStatus::signedIn, repo->me);
        cache = std::make_unique<StatsCache>(StoreContext{[this]() -> Repository& { return *repo; },
                                                          session.get(),
                                                          [](const ApiError&) { return false; }});
    }

    void cleanup() {
        session->end();
        cache.reset();
    }

    void oneRequestPerKey() {
        await(cache->load(u"p1"_qs, 7));
        await(cache->load(u"p1"_qs, 7));
        await(cache->load(std::nullopt, 7));
        QCOMPARE(repo->calls.value("fetchStats"), 1);
        QCOMPARE(repo->calls.value("fetchAggregateStats"), 1);
        QCOMPARE(cache->cached(u"p1"_qs, 7)->conversations, 42);
        QCOMPARE(StatsCache::key(std::nullopt, 30), u"all:30"_qs);
    }

    // The screen moved on to another range: that is no failure of the key it left.
    void aScreenThatMovesOnLeavesNoFailure() {
        repo->hold = {"fetchStats"};
        Cancellation screen;
        auto load = cache->load(u"p1"_qs, 30, screen);
        QVERIFY(cache->isLoading("p1:30"));
        screen.cancel();
        await(std::move(load));
        QVERIFY(!cache->error("p1:30"));
        QVERIFY(!cache->isLoading("p1:30"));

        auto failing = cache->load(u"p1"_qs, 90);
        repo->release(repo->waiting("fetchStats").first(),
                      ApiResult<ProjectStats>(ApiError::http(502, "gateway")));
        await(std::move(failing));
        QCOMPARE(cache->error("p1:90"), std::optional<QString>(u"HTTP 502: gateway"_qs));
    }

    // Signed out with figures held and a load on its way: the next account sees neither.
    void signOutForgetsTheAccountsFigures() {
        await(cache->load(u"p1"_qs, 7));
        repo->hold = {"fetchStats"};
        auto onItsWay = cache->load(u"p2"_qs, 7);
        QSignalSpy changed(cache.get(), &StatsCache::changed);
        session->end();
        cache->clear();
        QCOMPARE(changed.size(), 1);
        await(std::move(onItsWay));
        QVERIFY(!cache->cached(u"p1"_qs, 7));
        QVERIFY(!cache->cached(u"p2"_qs, 7));

        // The next account asks the service afresh.
        session->setStatus(AuthStatus::signedIn, repo->me);
        repo->hold.clear();
        const int before = repo->calls.value("fetchStats");
        await(cache->load(u"p1"_qs, 7));
        QCOMPARE(repo->calls.value("fetchStats"), before + 1);
    }
};

QTEST_GUILESS_MAIN(TestStatsCache)
#include "tst_statscache.moc"
