// Change detection against a scripted service whose answers the test hands
// out itself: one look at a time however many ask, looks whose answers come
// back in the wrong order announce nothing twice, a sign-out mid-look sends
// and records nothing more, and the throttle lets a repeat through exactly
// at the end of its window.

#include "Await.h"
#include "FakeNotifier.h"
#include "LogCapture.h"
#include "ScriptedRepository.h"
#include "Timing.h"
#include "notifications/NotificationManager.h"
#include "state/ChangeDetector.h"

#include <QSettings>
#include <QTemporaryDir>
#include <QTest>

using namespace kv;
using kv::test::await;
using kv::test::ScriptedRepository;

class TestChangeDetector : public QObject {
    Q_OBJECT

    std::unique_ptr<ScriptedRepository> repo;
    std::unique_ptr<test::FakeNotifier> notifier;
    QTemporaryDir dir;
    std::unique_ptr<QSettings> settings;
    std::unique_ptr<NotificationManager> notifications;
    std::unique_ptr<ChangeDetector> detector;
    Cancellation session;
    QDateTime now;

    ChangeDetector::Context context() {
        return {[this]() -> Repository& { return *repo; }, [this] { return session; },
                [this](const QString& id) -> std::optional<Project> {
                    for (const Project& p : repo->projects) {
                        if (p.id == id)
                            return p;
                    }
                    return std::nullopt;
                },
                [] { return false; }, notifications.get()};
    }

    // Notifications posted about a conversation.
    qsizetype postedAbout(const QString& conversationID) const {
        return std::count_if(
            notifier->posted.begin(), notifier->posted.end(),
            [&](const NotificationRequest& r) { return r.conversationID == conversationID; });
    }

    // The service's list with c1 in `status`.
    QList<Conversation> listWith(ConversationStatus status) const {
        return {test::conversation("c1", "p1", status, 3, status == ConversationStatus::waiting)};
    }

    std::shared_ptr<test::HeldCall> nextHeld(const QString& operation) {
        if (!QTest::qWaitFor([&] { return !repo->waiting(operation).isEmpty(); }, 5'000))
            return nullptr;
        return repo->waiting(operation).first();
    }

private slots:
    void init() {
        Timing::current() = Timing{};
        repo = std::make_unique<ScriptedRepository>();
        repo->projects = {test::project("p1", "Northwind Support")};
        notifier = std::make_unique<test::FakeNotifier>();
        settings = std::make_unique<QSettings>(dir.filePath("prefs.ini"), QSettings::IniFormat);
        notifications = std::make_unique<NotificationManager>(notifier.get(), settings.get());
        now = QDateTime(QDate(2026, 12, 7), QTime(9, 0), Qt::UTC);
        notifications->setClock([this] { return now; });
        session = Cancellation();
        detector = std::make_unique<ChangeDetector>(context());
        // Primed: the first look only records what it sees.
        repo->conversations = listWith(ConversationStatus::active);
        await(detector->look());
        QVERIFY(detector->primed("__all__"));
    }

    void cleanup() {
        session.cancel();
        detector.reset();
    }

    // Two looks overlap (the debounced refresh and the poll) and the service
    // answers the older one last: it must not take the snapshot back in time,
    // or the next look announces the same escalation again.
    void overlappingLooksAnnounceOnce() {
        repo->hold = {"fetchConversations"};
        auto first = detector->look();
        auto second = detector->look();
        const auto older = nextHeld("fetchConversations");
        QVERIFY(older);
        // Looks start at once: a second fetch, were looks allowed to overlap, is already waiting.
        const auto pending = repo->waiting("fetchConversations");
        if (pending.size() == 2) {
            // Overlapping looks: the newer answer (the chat wants a human) first, the older last.
            repo->release(pending[1],
                          ApiResult<QList<Conversation>>(listWith(ConversationStatus::waiting)));
            QTRY_COMPARE(postedAbout("c1"), 1); // the newer answer is in
            repo->release(pending[0],
                          ApiResult<QList<Conversation>>(listWith(ConversationStatus::active)));
        } else {
            // One look at a time: the older answer is all there is; the newer one follows.
            repo->release(older,
                          ApiResult<QList<Conversation>>(listWith(ConversationStatus::active)));
            const auto newer = nextHeld("fetchConversations");
            QVERIFY(newer);
            repo->release(newer,
                          ApiResult<QList<Conversation>>(listWith(ConversationStatus::waiting)));
        }
        await(std::move(first));
        await(std::move(second));
        QCOMPARE(postedAbout("c1"), 1); // "wants a human", once

        // Past the throttle, the chat still waiting: nothing new to say.
        now = now.addSecs(13);
        repo->hold.clear();
        repo->conversations = listWith(ConversationStatus::waiting);
        await(detector->look());
        QCOMPARE(postedAbout("c1"), 1);
        QCOMPARE(repo->calls.value("fetchConversations"), 4);
    }

    // However many ask during a look, exactly one more look follows it, and
    // each asker's wait ends once a look that began after its request is over.
    void oneLookAtATimeAndOneMoreAfter() {
        repo->hold = {"fetchConversations"};
        const int before = repo->calls.value("fetchConversations");
        auto running = detector->look();
        QVERIFY(nextHeld("fetchConversations"));
        QVERIFY(detector->isLooking());
        int finished = 0;
        const auto ask = [&]() -> QCoro::Task<> {
            co_await detector->look();
            ++finished;
        };
        auto a = ask();
        auto b = ask();
        auto c = ask();
        repo->releaseWithData(repo->waiting("fetchConversations").first());
        const auto again = nextHeld("fetchConversations");
        QVERIFY(again);
        QCOMPARE(finished, 0); // their look has not run yet
        repo->releaseWithData(again);
        await(std::move(running));
        await(std::move(a));
        await(std::move(b));
        await(std::move(c));
        QCOMPARE(finished, 3);
        QCOMPARE(repo->calls.value("fetchConversations") - before, 2);
        QVERIFY(!detector->isLooking());
    }

    // Signed out while a look waits for the service: nothing more is asked,
    // nothing is recorded, and no failure is logged.
    void signOutMidLookSendsNothingMore() {
        repo->hold = {"fetchConversations"};
        test::LogCapture log;
        const int visitorsBefore = repo->calls.value("fetchLiveVisitors");
        auto look = detector->look();
        QVERIFY(nextHeld("fetchConversations"));
        session.cancel(); // sign-out: the request in flight is aborted
        session = Cancellation();
        detector->forget();
        await(std::move(look));
        QCOMPARE(repo->calls.value("fetchLiveVisitors"), visitorsBefore);
        QVERIFY(!detector->remembersAnything());
        QVERIFY(log.messages("AppState").filter("detectionRefresh").isEmpty());
    }

    // A repeat is let through exactly at the end of its throttle window, not a moment before.
    void throttleWindowsEndExactly() {
        const auto escalateAgain = [&] {
            detector->conversationsSeen(listWith(ConversationStatus::active), "__all__");
            detector->conversationsSeen(listWith(ConversationStatus::waiting), "__all__");
        };
        escalateAgain();
        QCOMPARE(postedAbout("c1"), 1);
        now = now.addMSecs(Timing::current().conversationThrottle.count() - 1);
        escalateAgain();
        QCOMPARE(postedAbout("c1"), 1);
        now = now.addMSecs(1); // 12 s after the one let through
        escalateAgain();
        QCOMPARE(postedAbout("c1"), 2);

        const auto visitor = [](const char* id) {
            Visitor v;
            v.visitorID = QString::fromLatin1(id);
            v.projectID = "p1";
            v.pageURL = "https://p1.example/";
            return v;
        };
        detector->visitorsSeen({visitor("v1")}, "__all__");
        detector->visitorsSeen({visitor("v1"), visitor("v2")}, "__all__");
        const qsizetype afterFirst = notifier->posted.size();
        now = now.addMSecs(Timing::current().visitorThrottle.count() - 1);
        detector->visitorsSeen({visitor("v1"), visitor("v2"), visitor("v3")}, "__all__");
        QCOMPARE(notifier->posted.size(), afterFirst);
        now = now.addMSecs(1); // 30 min after the one let through
        detector->visitorsSeen({visitor("v1"), visitor("v2"), visitor("v3"), visitor("v4")},
                               "__all__");
        QCOMPARE(notifier->posted.size(), afterFirst + 1);
    }
};

QTEST_GUILESS_MAIN(TestChangeDetector)
#include "tst_changedetector.moc"
