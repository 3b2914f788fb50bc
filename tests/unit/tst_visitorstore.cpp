// Live visitors: answers in the wrong order, an answer for a scope the
// operator left, and a failure that keeps the visitors shown and says why.

#include "Await.h"
#include "ScriptedRepository.h"
#include "state/Session.h"
#include "state/VisitorStore.h"

#include <QAbstractItemModelTester>
#include <QTest>

using namespace kv;
using kv::test::await;
using kv::test::ScriptedRepository;

class TestVisitorStore : public QObject {
    Q_OBJECT

    std::unique_ptr<ScriptedRepository> repo;
    std::unique_ptr<Session> session;
    std::unique_ptr<VisitorStore> store;
    std::unique_ptr<QAbstractItemModelTester> tester;
    std::optional<QString> scope;

    static Visitor visitor(const char* id, const char* projectID) {
        Visitor v;
        v.visitorID = QString::fromLatin1(id);
        v.projectID = QString::fromLatin1(projectID);
        v.pageURL = "https://example.com/";
        return v;
    }
    QCoro::Task<> load(std::optional<QString> projectID) {
        return store->load(projectID, [this] { return scope; });
    }

private slots:
    void init() {
        repo = std::make_unique<ScriptedRepository>();
        repo->visitors = {visitor("v1", "p1"), visitor("v2", "p2")};
        session = std::make_unique<Session>();
        session->setStatus(AuthStatus::signedIn, repo->me);
        store = std::make_unique<VisitorStore>(
            StoreContext{[this]() -> Repository& { return *repo; }, session.get(),
                         [](const ApiError&) { return false; }});
        tester = std::make_unique<QAbstractItemModelTester>(
            store->model(), QAbstractItemModelTester::FailureReportingMode::QtTest);
        scope.reset();
    }

    void cleanup() {
        session->end();
        tester.reset();
        store.reset();
    }

    void theLastLoadStartedWins() {
        repo->hold = {"fetchLiveVisitors"};
        auto older = load(std::nullopt);
        auto newer = load(std::nullopt);
        const auto calls = repo->waiting("fetchLiveVisitors");
        repo->release(calls[1], ApiResult<QList<Visitor>>({visitor("v3", "p1")}));
        await(std::move(newer));
        repo->release(calls[0], ApiResult<QList<Visitor>>({visitor("v1", "p1")}));
        await(std::move(older));
        QCOMPARE(store->visitors().size(), 1);
        QCOMPARE(store->visitors().first().visitorID, u"v3"_qs);
        QVERIFY(!store->loading());
    }

    void anAnswerForAScopeLeftIsDropped() {
        repo->hold = {"fetchLiveVisitors"};
        auto all = load(std::nullopt);
        scope = u"p2"_qs;
        repo->releaseWithData(repo->waiting("fetchLiveVisitors").first());
        await(std::move(all));
        QVERIFY(store->visitors().isEmpty());
    }

    // A failure keeps the visitors shown and says why until a load succeeds.
    void aFailureKeepsTheListAndSaysWhy() {
        await(load(std::nullopt));
        QCOMPARE(store->visitors().size(), 2);
        repo->hold = {"fetchLiveVisitors"};
        auto failing = load(std::nullopt);
        QVERIFY(store->loading());
        repo->release(repo->waiting("fetchLiveVisitors").first(),
                      ApiResult<QList<Visitor>>(ApiError::http(503, "busy")));
        await(std::move(failing));
        QCOMPARE(store->visitors().size(), 2);
        QCOMPARE(store->error(), u"HTTP 503: busy"_qs);
        repo->hold.clear();
        await(load(std::nullopt));
        QCOMPARE(store->error(), QString());
    }
};

QTEST_GUILESS_MAIN(TestVisitorStore)
#include "tst_visitorstore.moc"
