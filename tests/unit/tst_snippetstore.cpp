// Snippets by agent, one cache: a change fetches its agent once, a second
// load waits for the one under way, sign-out drops what is on its way, and
// the composer never offers another agent's snippets.

#include "Await.h"
#include "ScriptedState.h"
#include "state/SnippetStore.h"

#include <QTest>

using namespace kv;
using kv::test::await;
using kv::test::ScriptedRepository;

class TestSnippetStore : public QObject {
    Q_OBJECT

    std::unique_ptr<ScriptedRepository> repo;
    std::unique_ptr<Session> session;
    std::unique_ptr<SnippetStore> store;

    int fetches(const char* projectID) const {
        int n = 0;
        for (const auto& call : repo->held)
            n += call->operation == u"fetchSnippets" && call->arguments.value(0) == projectID;
        return n;
    }

private slots:
    void init() {
        repo = std::make_unique<ScriptedRepository>();
        repo->snippets["p1"] = {Snippet{"s1", "hi", "Hello", "Hello there", "👋"}};
        repo->snippets["p2"] = {Snippet{"s2", "bye", "Bye", "Take care", "💬"}};
        session = std::make_unique<Session>();
        session->setStatus(AuthStatus::signedIn, repo->me);
        store = std::make_unique<SnippetStore>(
            StoreContext{[this]() -> Repository& { return *repo; }, session.get(),
                         [](const ApiError&) { return false; }});
    }

    void cleanup() {
        session->end();
        store.reset();
    }

    // The settings' editor and the composer share one list: a save fetches it once.
    void aChangeFetchesItsAgentOnce() {
        await(store->load("p1"));
        const int before = repo->calls.value("fetchSnippets");
        QVERIFY(await(store->create("p1", "hours", "Hours", "9–17", "🕘")).ok());
        QCOMPARE(repo->calls.value("fetchSnippets") - before, 1);
        QCOMPARE(store->snippets("p1").size(), 2);
        // An agent nobody holds is not fetched for a change.
        QVERIFY(await(store->remove("p2", "s2")).ok());
        QCOMPARE(repo->calls.value("fetchSnippets") - before, 1);
        QVERIFY(!store->holds("p2"));
    }

    // A second load waits for the one under way; a change's reload comes after it.
    void loadsJoinTheOneUnderWay() {
        repo->hold = {"fetchSnippets"};
        auto first = store->load("p1");
        auto second = store->load("p1");
        QCOMPARE(fetches("p1"), 1);
        repo->releaseWithData(repo->waiting("fetchSnippets").first());
        await(std::move(first));
        await(std::move(second));
        QCOMPARE(store->snippets("p1").size(), 1);

        // A change confirmed while a load is under way: its reload comes after that load.
        auto underWay = store->load("p1");
        auto created = store->create("p1", "x", "X", "Body", "");
        QCOMPARE(repo->waiting("fetchSnippets").size(), 1);
        repo->releaseWithData(repo->waiting("fetchSnippets").first()); // the older load
        QTRY_COMPARE(repo->waiting("fetchSnippets").size(), 1);        // then the change's own
        repo->releaseWithData(repo->waiting("fetchSnippets").first());
        await(std::move(underWay));
        QVERIFY(await(std::move(created)).ok());
        QCOMPARE(store->snippets("p1").size(), 2);
    }

    // A failed load keeps the list and says why; sign-out drops what is on its way.
    void failuresAndSignOut() {
        await(store->load("p1"));
        repo->hold = {"fetchSnippets"};
        auto failing = store->load("p1");
        repo->release(repo->waiting("fetchSnippets").first(),
                      ApiResult<QList<Snippet>>(ApiError::http(500, "boom")));
        await(std::move(failing));
        QCOMPARE(store->snippets("p1").size(), 1);
        QCOMPARE(store->error("p1"), u"HTTP 500: boom"_qs);

        auto pending = store->load("p2");
        session->end();
        store->clear();
        await(std::move(pending));
        QVERIFY(!store->holds("p1") && !store->holds("p2"));
    }

    // The operator leaves an agent while its conversation's messages are on their way:
    // the composer offers the snippets of the conversation open now, never the old agent's.
    void theComposerNeverOffersAnotherAgentsSnippets() {
        test::ScriptedState scripted;
        scripted.repo.conversations = {test::conversation("c1", "p1"),
                                       test::conversation("c2", "p2")};
        scripted.repo.snippets = repo->snippets;
        AppState& state = scripted.signIn();
        state.setSelectedProjectID(u"p1"_qs);
        await(state.loadConversations(u"p1"_qs));
        QTRY_COMPARE(state.snippetsProjectID(), std::optional<QString>(u"p1"_qs));

        scripted.repo.hold = {"fetchConversationDetail"};
        auto lateDetail = state.loadConversationDetail("c1");
        QTRY_VERIFY(!scripted.repo.waiting("fetchConversationDetail").isEmpty());
        const auto p1Detail = scripted.repo.waiting("fetchConversationDetail").first();
        state.setSelectedProjectID(u"p2"_qs);
        await(state.loadConversations(u"p2"_qs));
        QCOMPARE(state.selectedConversationID(), std::optional<QString>(u"c2"_qs));
        scripted.repo.releaseWithData(p1Detail); // p1's answer lands after the switch
        await(std::move(lateDetail));
        for (const auto& call : scripted.repo.waiting("fetchConversationDetail"))
            scripted.repo.releaseWithData(call);
        QTRY_VERIFY(!state.snippetStore().isLoading("p2"));
        QCOMPARE(state.snippetsProjectID(), std::optional<QString>(u"p2"_qs));
        QCOMPARE(state.snippets(), scripted.repo.snippets["p2"]);
    }
};

QTEST_GUILESS_MAIN(TestSnippetStore)
#include "tst_snippetstore.moc"
