// The conversation store against a scripted service: list answers that come
// back in the wrong order or after the operator left their scope, the
// message tables kept within what is listed, one detail fetch at a time, and
// whether a reply or a resolve read an unread chat.

#include "Await.h"
#include "ScriptedRepository.h"
#include "state/ConversationStore.h"
#include "state/Session.h"

#include <QAbstractItemModelTester>
#include <QSignalSpy>
#include <QTest>

using namespace kv;
using kv::test::await;
using kv::test::conversation;
using kv::test::ScriptedRepository;

class TestConversationStore : public QObject {
    Q_OBJECT

    std::unique_ptr<ScriptedRepository> repo;
    std::unique_ptr<Session> session;
    std::unique_ptr<ConversationStore> store;
    std::unique_ptr<QAbstractItemModelTester> tester;
    std::optional<QString> scope; // the operator's scope, as the state would say

    using Outcome = ConversationStore::ListOutcome;

    QCoro::Task<Outcome> load(std::optional<QString> projectID, bool fresh = true) {
        return store->loadList(
            projectID, [this] { return scope; }, fresh);
    }
    QStringList ids() const {
        QStringList out;
        for (const Conversation& c : store->conversations())
            out.append(c.id);
        return out;
    }

private slots:
    void init() {
        repo = std::make_unique<ScriptedRepository>();
        session = std::make_unique<Session>();
        session->setStatus(AuthStatus::signedIn, repo->me);
        store = std::make_unique<ConversationStore>(
            StoreContext{[this]() -> Repository& { return *repo; }, session.get(),
                         [](const ApiError&) { return false; }});
        tester = std::make_unique<QAbstractItemModelTester>(
            store->model(), QAbstractItemModelTester::FailureReportingMode::QtTest);
        repo->conversations = {conversation("c1", "p1"), conversation("c2", "p1"),
                               conversation("c3", "p1"), conversation("c9", "p2")};
        scope = u"p1"_qs;
    }

    void cleanup() {
        session->end();
        tester.reset();
        store.reset();
    }

    // Two loads of the scope overlap and the older answer arrives last: the newer list stands.
    void theLastListStartedWins() {
        repo->hold = {"fetchConversations"};
        auto older = load(u"p1"_qs);
        auto newer = load(u"p1"_qs);
        QCOMPARE(repo->waiting("fetchConversations").size(), 2);
        const auto calls = repo->waiting("fetchConversations");
        repo->release(calls[1], ApiResult<QList<Conversation>>({conversation("c2", "p1")}));
        QCOMPARE(await(std::move(newer)), Outcome::applied);
        repo->release(calls[0], ApiResult<QList<Conversation>>({conversation("c1", "p1")}));
        QCOMPARE(await(std::move(older)), Outcome::dropped);
        QCOMPARE(ids(), QStringList{"c2"});
        QVERIFY(!store->loading());
    }

    // An answer that arrives after the operator moved to another scope is not shown.
    void anAnswerForAScopeLeftIsDropped() {
        repo->hold = {"fetchConversations"};
        auto p1 = load(u"p1"_qs);
        scope = u"p2"_qs; // the operator picked another agent meanwhile
        repo->releaseWithData(repo->waiting("fetchConversations").first());
        QCOMPARE(await(std::move(p1)), Outcome::dropped);
        QVERIFY(store->conversations().isEmpty());
    }

    // A failed load of the operator's own says why instead of an empty inbox; a
    // failed refresh keeps what is shown.
    void failuresAreSaid() {
        QCOMPARE(await(load(u"p1"_qs)), Outcome::applied);
        repo->hold = {"fetchConversations"};
        auto refresh = load(u"p1"_qs, false);
        repo->release(repo->waiting("fetchConversations").first(),
                      ApiResult<QList<Conversation>>(ApiError::http(503, "busy")));
        QCOMPARE(await(std::move(refresh)), Outcome::failed);
        QCOMPARE(ids().size(), 3);
        QCOMPARE(store->error(), QString());
        auto fresh = load(u"p1"_qs);
        repo->release(repo->waiting("fetchConversations").first(),
                      ApiResult<QList<Conversation>>(ApiError::http(503, "busy")));
        QCOMPARE(await(std::move(fresh)), Outcome::failed);
        QVERIFY(store->conversations().isEmpty());
        QCOMPARE(store->error(), u"HTTP 503: busy"_qs);
    }

    // However many conversations were opened and replied to, the tables hold
    // only the listed ones and the open one.
    void messageTablesStayWithinWhatIsListed() {
        repo->messages["c1"] = {Message{"m1", "c1", MessageRole::user, "Hi", {}, {}, {}}};
        QCOMPARE(await(load(u"p1"_qs)), Outcome::applied);
        store->setKept(u"c1"_qs);
        for (const char* id : {"c1", "c2", "c3"})
            await(store->loadDetail(QString::fromLatin1(id)));
        store->replied(
            "c3", "Thanks",
            SendMessageResult{Message{"m9", "c3", MessageRole::operatorRole, "Thanks", {}, {}, {}},
                              "operator_active",
                              {}});
        QCOMPARE(store->apiMessages().size(), 3);

        // The agent's list moves on: c3 is gone, c4 arrived; the open c1 is not listed either.
        repo->conversations = {conversation("c2", "p1"), conversation("c4", "p1")};
        QCOMPARE(await(load(u"p1"_qs, false)), Outcome::applied);
        QCOMPARE(QSet<QString>(store->apiMessages().keyBegin(), store->apiMessages().keyEnd()),
                 (QSet<QString>{"c1", "c2"}));
        QVERIFY(store->localMessages().isEmpty());
        QVERIFY(!store->messages("c1").isEmpty());
    }

    // Requests for a conversation's detail while its fetch runs: exactly one
    // more fetch after it, and none of them is answered by the older one.
    void oneDetailFetchAtATime() {
        QCOMPARE(await(load(u"p1"_qs)), Outcome::applied);
        repo->hold = {"fetchConversationDetail"};
        auto first = store->loadDetail("c1");
        auto second = store->loadDetail("c1");
        auto third = store->loadDetail("c1");
        QVERIFY(store->detailLoading("c1"));
        QCOMPARE(repo->calls.value("fetchConversationDetail"), 1);
        repo->releaseWithData(repo->waiting("fetchConversationDetail").first());
        await(std::move(first));
        // The first answer came from before the others asked: one more fetch, for both.
        QTRY_COMPARE(repo->calls.value("fetchConversationDetail"), 2);
        QVERIFY(!second.isReady() && !third.isReady());
        repo->releaseWithData(repo->waiting("fetchConversationDetail").first());
        await(std::move(second));
        await(std::move(third));
        QCOMPARE(repo->calls.value("fetchConversationDetail"), 2);
        QVERIFY(!store->detailLoading("c1"));
        QVERIFY(store->knowsMessagesOf("c1"));

        // A failure says why, and the next success forgets it.
        auto failing = store->loadDetail("c2");
        repo->release(repo->waiting("fetchConversationDetail").first(),
                      ApiResult<ConversationDetail>(ApiError::http(500, "boom")));
        await(std::move(failing));
        QCOMPARE(store->detailError("c2"), u"HTTP 500: boom"_qs);
        auto again = store->loadDetail("c2");
        repo->releaseWithData(repo->waiting("fetchConversationDetail").first());
        await(std::move(again));
        QCOMPARE(store->detailError("c2"), QString());
    }

    // A reply and a resolve say whether they read an unread chat, once.
    void repliesAndResolvesSayWhetherTheChatWasUnread() {
        repo->conversations = {conversation("c1", "p1", ConversationStatus::waiting, 2, true),
                               conversation("c2", "p1", ConversationStatus::active, 2, false)};
        QCOMPARE(await(load(u"p1"_qs)), Outcome::applied);
        const SendMessageResult sent{
            Message{"m", "c1", MessageRole::operatorRole, "x", {}, {}, {}}, "mystery", {}};
        QVERIFY(store->replied("c1", "x", sent));
        QCOMPARE(store->find("c1")->status, ConversationStatus::operatorActive); // unknown status
        QVERIFY(!store->replied("c1", "x", sent));
        QVERIFY(!store->resolved("c1"));
        QVERIFY(!store->resolved("c2"));
        QCOMPARE(store->find("c2")->status, ConversationStatus::resolved);
        QVERIFY(!store->resolved("nope"));
    }

    // Nothing is asked while signed out, and sign-out drops what is on its way.
    void signedOutAsksNothingAndDropsAnswers() {
        repo->hold = {"fetchConversations"};
        auto pending = load(u"p1"_qs);
        session->end();
        store->clear();
        QCOMPARE(await(std::move(pending)), Outcome::dropped);
        QVERIFY(store->conversations().isEmpty());
        const int calls = repo->calls.value("fetchConversations");
        QCOMPARE(await(load(u"p1"_qs)), Outcome::dropped);
        QCOMPARE(repo->calls.value("fetchConversations"), calls);
    }
};

QTEST_GUILESS_MAIN(TestConversationStore)
#include "tst_conversationstore.moc"
