// The open conversation: it fetches its messages when it opens, again when
// the list says it changed and on retry, never twice at once; an answer for a
// conversation no longer open changes nothing shown; a sent reply shows once.

#include "Await.h"
#include "ScriptedRepository.h"
#include "state/ConversationStore.h"
#include "state/OpenConversation.h"
#include "state/Session.h"

#include <QAbstractItemModelTester>
#include <QTest>

using namespace kv;
using kv::test::await;
using kv::test::conversation;
using kv::test::ScriptedRepository;

class TestOpenConversation : public QObject {
    Q_OBJECT

    std::unique_ptr<ScriptedRepository> repo;
    std::unique_ptr<Session> session;
    std::unique_ptr<ConversationStore> store;
    std::unique_ptr<OpenConversation> open;
    std::unique_ptr<QAbstractItemModelTester> tester;

    static Message message(const char* id, const char* conversationID, const char* text) {
        return Message{id, conversationID, MessageRole::user, text, {}, {}, {}};
    }
    QStringList shown() const {
        QStringList out;
        for (const Message& m : open->messages())
            out.append(m.id);
        return out;
    }
    int detailCalls() const { return repo->calls.value("fetchConversationDetail"); }
    void list() {
        await(store->loadList(
            u"p1"_qs, [] { return std::optional<QString>(u"p1"_qs); }, false));
    }

private slots:
    void init() {
        repo = std::make_unique<ScriptedRepository>();
        session = std::make_unique<Session>();
        session->setStatus(AuthStatus::signedIn, repo->me);
        store = std::make_unique<ConversationStore>(
            StoreContext{[this]() -> Repository& { return *repo; }, session.get(),
                         [](const ApiError&) { return false; }});
        open = std::make_unique<OpenConversation>(store.get());
        tester = std::make_unique<QAbstractItemModelTester>(
            open->messagesModel(), QAbstractItemModelTester::FailureReportingMode::QtTest);
        repo->conversations = {conversation("c1", "p1"), conversation("c2", "p1")};
        repo->messages["c1"] = {message("m1", "c1", "Hello"), message("m2", "c1", "Anyone?")};
        repo->messages["c2"] = {message("m3", "c2", "Bonjour")};
        list();
    }

    void cleanup() {
        session->end();
        tester.reset();
        open.reset();
        store.reset();
    }

    void fetchesWhenItOpensOnce() {
        open->open(u"c1"_qs);
        QVERIFY(open->exists());
        QTRY_COMPARE(shown(), (QStringList{"m1", "m2"}));
        QCOMPARE(detailCalls(), 1);
        list(); // the same list again: nothing to fetch
        QCOMPARE(detailCalls(), 1);
        open->open(std::nullopt);
        QVERIFY(shown().isEmpty());
        QVERIFY(!open->exists());
    }

    // A refreshed list that says the conversation has a new message fetches it.
    void fetchesAgainWhenTheListSaysItChanged() {
        open->open(u"c1"_qs);
        QTRY_COMPARE(shown().size(), 2);
        repo->messages["c1"].append(message("m4", "c1", "Hello?"));
        repo->conversations[0].messageCount = 3;
        list();
        QTRY_COMPARE(shown(), (QStringList{"m1", "m2", "m4"}));
        QCOMPARE(detailCalls(), 2);
    }

    // While a fetch is under way, a change asks for exactly one more after it.
    void neverTwoFetchesAtOnce() {
        repo->hold = {"fetchConversationDetail"};
        open->open(u"c1"_qs);
        QVERIFY(open->loading());
        repo->conversations[0].messageCount = 5;
        list();
        open->retry();
        QCOMPARE(repo->waiting("fetchConversationDetail").size(), 1);
        repo->releaseWithData(repo->waiting("fetchConversationDetail").first());
        QTRY_COMPARE(repo->waiting("fetchConversationDetail").size(), 1); // the one more
        repo->releaseWithData(repo->waiting("fetchConversationDetail").first());
        QTRY_VERIFY(!open->loading());
        QCOMPARE(detailCalls(), 2);
    }

    // The operator moves on before the messages arrive: they are not shown for the next one.
    void anAnswerForAConversationNoLongerOpenChangesNothing() {
        repo->hold = {"fetchConversationDetail"};
        open->open(u"c1"_qs);
        const auto c1 = repo->waiting("fetchConversationDetail").first();
        open->open(u"c2"_qs);
        QCOMPARE(open->id(), std::optional<QString>(u"c2"_qs));
        repo->releaseWithData(c1);
        QTRY_VERIFY(store->knowsMessagesOf("c1"));
        QVERIFY(shown().isEmpty());
        QTRY_COMPARE(repo->waiting("fetchConversationDetail").size(), 1); // c2's own
        repo->releaseWithData(repo->waiting("fetchConversationDetail").first());
        QTRY_COMPARE(shown(), QStringList{"m3"});
    }

    // A failed fetch keeps what is shown and says why; retry fetches again.
    void aFailureIsSaidAndRetried() {
        open->open(u"c1"_qs);
        QTRY_COMPARE(shown().size(), 2);
        repo->hold = {"fetchConversationDetail"};
        open->retry();
        repo->release(repo->waiting("fetchConversationDetail").first(),
                      ApiResult<ConversationDetail>(ApiError::http(500, "boom")));
        QTRY_COMPARE(open->error(), u"HTTP 500: boom"_qs);
        QCOMPARE(shown().size(), 2);
        open->retry();
        repo->releaseWithData(repo->waiting("fetchConversationDetail").first());
        QTRY_COMPARE(open->error(), QString());
    }

    // A reply sent from here shows once, also after the service's list holds it.
    void aSentReplyShowsOnce() {
        open->open(u"c1"_qs);
        QTRY_COMPARE(shown().size(), 2);
        const Message reply{"m5", "c1", MessageRole::operatorRole, "On it", {}, {}, {}};
        store->replied("c1", "On it", SendMessageResult{reply, "operator_active", {}});
        QCOMPARE(shown(), (QStringList{"m1", "m2", "m5"}));
        repo->messages["c1"].append(reply);
        await(store->loadDetail("c1"));
        QCOMPARE(shown(), (QStringList{"m1", "m2", "m5"}));
    }
};

QTEST_GUILESS_MAIN(TestOpenConversation)
#include "tst_openconversation.moc"
