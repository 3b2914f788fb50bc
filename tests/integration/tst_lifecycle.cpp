// Sign-out, a refused key and a change of agent while answers are still on
// their way: nothing fetched for the old session or the old agent is
// assigned, recorded as seen or notified. The service is slowed down per
// path so that the answer is provably in flight when the operator acts.

#include "Await.h"
#include "FakeNotifier.h"
#include "LogCapture.h"
#include "SimServer.h"
#include "Timing.h"
#include "notifications/NotificationManager.h"
#include "platform/CredentialStore.h"
#include "service/Configuration.h"
#include "state/AppState.h"

#include <QElapsedTimer>
#include <QJsonDocument>
#include <QNetworkAccessManager>
#include <QSettings>
#include <QTemporaryDir>
#include <QTest>

using namespace kv;
using namespace std::chrono_literals;
using kv::sim::SimServer;
using kv::test::await;

class TestLifecycle : public QObject {
    Q_OBJECT

    std::unique_ptr<SimServer> sim;
    std::unique_ptr<QNetworkAccessManager> network;
    MemoryCredentialStore store;
    std::unique_ptr<QTemporaryDir> dir;
    std::unique_ptr<QSettings> settings;
    std::unique_ptr<test::FakeNotifier> notifier;
    std::unique_ptr<NotificationManager> manager;
    std::unique_ptr<AppState> state;

    void signIn() {
        await(store.save(sim->apiKey()));
        state->api().setApiKey(sim->apiKey());
        await(state->bootstrap());
        QCOMPARE(state->authStatus(), AuthStatus::signedIn);
    }

    void slowDown(const QString& path, int ms, int times = -1) {
        sim::Fault fault;
        fault.kind = sim::Fault::Kind::delay;
        fault.method = "GET";
        fault.path = path;
        fault.delayMs = ms;
        fault.times = times;
        sim->addFault(fault);
    }

    int arrived(const QString& request) const { return int(sim->arrivals().count(request)); }

    // Log lines of the client that answer (or abandon) a request for `path`.
    static int outcomes(const test::LogCapture& log, const QString& path) {
        int n = 0;
        for (const QString& line : log.messages("APIClient"))
            n += line.startsWith("GET " + path + " ");
        return n;
    }

    QString conversationOf(const QString& projectID) {
        return sim->withData([&](sim::SimData& d) {
            for (const auto& c : d.conversations) {
                if (c.projectId == projectID)
                    return c.id;
            }
            return QString();
        });
    }

    bool allOf(const QString& projectID) const {
        return std::all_of(state->conversations().begin(), state->conversations().end(),
                           [&](const Conversation& c) { return c.projectID == projectID; });
    }

private slots:
    void init() {
        Timing::current() = Timing{};
        Timing::current().sseCatchUp = 100ms;
        sim::SimConfig config;
        config.heartbeatMs = 200; // a stream the client has left is noticed at the next beat
        sim = std::make_unique<SimServer>(config);
        QVERIFY(sim->start() > 0);
        qputenv(Configuration::kApiUrlVariable, sim->baseUrl().toUtf8());
        network = std::make_unique<QNetworkAccessManager>();
        dir = std::make_unique<QTemporaryDir>();
        settings = std::make_unique<QSettings>(dir->filePath("prefs.ini"), QSettings::IniFormat);
        notifier = std::make_unique<test::FakeNotifier>();
        manager = std::make_unique<NotificationManager>(notifier.get(), settings.get());
        AppState::Dependencies deps;
        deps.network = network.get();
        deps.credentials = &store;
        deps.settings = settings.get();
        deps.notifications = manager.get();
        state = std::make_unique<AppState>(deps);
    }

    void cleanup() {
        state.reset();
        manager.reset();
        notifier.reset();
        network.reset();
        sim.reset();
        qunsetenv(Configuration::kApiUrlVariable);
        Timing::current() = Timing{};
    }

    void pollLoopRefreshesAndSignOutCancelsItsFetch() {
        Timing::current().pollInterval = 150ms;
        signIn();
        test::LogCapture log;
        // The loop refreshes by itself every period.
        QTRY_VERIFY(arrived("GET /api/v2/inbox?limit=50") >= 2);
        QTRY_VERIFY(outcomes(log, "/api/v2/inbox") >= 2);

        sim->clearRequests();
        slowDown("/api/v2/inbox", 400);
        QTRY_COMPARE(arrived("GET /api/v2/inbox?limit=50"), 1); // the next pass is in flight
        const int before = outcomes(log, "/api/v2/inbox");
        state->signOut();
        QTRY_VERIFY(outcomes(log, "/api/v2/inbox") > before); // answered, or abandoned
        QVERIFY(state->conversations().isEmpty());
        QVERIFY(state->projects().isEmpty());
        QVERIFY(!state->changeDetector().remembersAnything());
    }

    void signOutDuringDetectionLeavesNothingSeen() {
        signIn();
        QTRY_VERIFY(!state->notificationsSuppressed());
        slowDown("/api/v2/inbox", 400);
        test::LogCapture log;
        state->scheduleRealtimeRefresh();
        // The second inbox request is detection's view of all agents.
        QTRY_COMPARE_WITH_TIMEOUT(arrived("GET /api/v2/inbox?limit=50"), 2, 10'000);
        state->signOut();
        QTRY_COMPARE(outcomes(log, "/api/v2/inbox"), 2);
        QVERIFY(!state->changeDetector().remembersAnything());
        QVERIFY(state->conversations().isEmpty());

        // Meanwhile a chat starts waiting for a human. The first look after the next
        // sign-in only records it: no notification about the old account's view.
        sim->clearFaults();
        sim->withData([](sim::SimData& d) {
            for (auto& c : d.conversations) {
                if (c.status == u"active") {
                    c.status = "waiting";
                    c.hasUnread = true;
                    break;
                }
            }
            return 0;
        });
        signIn();
        QTRY_VERIFY(!state->notificationsSuppressed());
        await(state->realtimeRefresh());
        QVERIFY(state->changeDetector().primed("__all__"));
        QVERIFY(notifier->posted.isEmpty());
    }

    void laterBootstrapWithARefusedKeyStopsEverything() {
        signIn();
        QTRY_COMPARE(sim->openStreams(), 1);
        QTRY_VERIFY(!state->notificationsSuppressed());
        await(state->loadConversations(std::nullopt));
        QVERIFY(!state->conversations().isEmpty());

        // The window is shown again (a notification click) after the key was revoked.
        sim->acceptKey(sim->apiKey(), false);
        await(state->bootstrap());
        QCOMPARE(state->authStatus(), AuthStatus::signedOut);
        QCOMPARE(state->loadState(), LoadState::idle);
        QCOMPARE(await(store.read()), std::nullopt);
        QVERIFY(state->projects().isEmpty());
        QVERIFY(state->conversations().isEmpty());
        QVERIFY(state->notificationsSuppressed());
        QVERIFY(!state->sse().isStarted());
        QTRY_COMPARE(sim->openStreams(), 0); // nothing reaches a signed-out operator
        QTRY_COMPARE(state->connectionState(), ConnectionState::disconnected);
    }

    void answersForAnAgentLeftBehindAreDropped() {
        signIn();
        const QString p1Chat = conversationOf("p1");

        // The operator opens p1's chat from a link, then picks p2 before p1's list arrives.
        slowDown("/api/v2/projects/p1/conversations", 400, 1);
        auto first = state->navigate("p1", p1Chat);
        QTRY_COMPARE(arrived("GET /api/v2/projects/p1/conversations?limit=50"), 1);
        await(state->navigate("p2", std::nullopt));
        await(std::move(first)); // p1's answer has arrived and been dealt with
        QCOMPARE(state->selectedProjectID(), std::optional<QString>(u"p2"_qs));
        QVERIFY(!state->conversations().isEmpty());
        QVERIFY(allOf("p2"));
        QCOMPARE(state->selectedConversationID(), state->conversations().first().id);
        QCOMPARE(state->snippetsProjectID(), std::optional<QString>(u"p2"_qs));

        // p1's snippets are still on their way when p2 is chosen.
        slowDown("/api/v2/projects/p1/snippets", 400, 1);
        auto second = state->navigate("p1", std::nullopt);
        QTRY_COMPARE(arrived("GET /api/v2/projects/p1/snippets"), 1);
        await(state->navigate("p2", std::nullopt));
        await(std::move(second));
        QCOMPARE(state->snippetsProjectID(), std::optional<QString>(u"p2"_qs));
        const QStringList p2Snippets = sim->withData([](sim::SimData& d) {
            QStringList ids;
            for (const auto& s : d.snippets["p2"])
                ids.append(s.id);
            return ids;
        });
        QCOMPARE(state->snippets().size(), p2Snippets.size());
        for (const Snippet& s : state->snippets())
            QVERIFY(p2Snippets.contains(s.id));

        // A refresh started for p1 lands after the switch to p2.
        state->setSelectedProjectID(u"p1"_qs);
        await(state->loadConversations(u"p1"_qs));
        sim->clearRequests();
        slowDown("/api/v2/projects/p1/conversations", 400, 1);
        auto refresh = state->realtimeRefresh();
        QTRY_COMPARE(arrived("GET /api/v2/projects/p1/conversations?limit=50"), 1);
        state->setSelectedProjectID(u"p2"_qs);
        await(state->loadConversations(u"p2"_qs));
        await(std::move(refresh));
        QVERIFY(allOf("p2"));
    }

    // The stream's replay outlasts the fallback meant for a stream that never
    // says when its replay ends: the fallback stays out of it, and nothing
    // replayed is announced.
    void aLongReplayKeepsNotificationsSuppressed() {
        Timing::current().suppressionFallback = 1000ms;
        Timing::current().sseCatchUp = 3000ms;
        sim->setHeartbeatInterval(60'000); // a beat would end the replay early
        test::LogCapture log;
        QElapsedTimer clock;
        clock.start();
        signIn();
        QTRY_COMPARE(sim->openStreams(), 1);
        if (clock.elapsed() > 700)
            QSKIP("the stream connected too late to tell the two timers apart");

        QTRY_VERIFY_WITH_TIMEOUT(clock.elapsed() > 1500, 5000); // past the fallback
        QVERIFY(state->notificationsSuppressed());
        sim->publishEvent("conversation.escalated", "p1", u"conv_replayed"_qs,
                          {{"notify", true}, {"title", "Replayed"}});
        QTRY_VERIFY(
            log.messages("AppState").contains(u"realtime: conversation.escalated notify=1"_qs));
        QVERIFY(notifier->posted.isEmpty());

        QTRY_VERIFY_WITH_TIMEOUT(!state->notificationsSuppressed(), 10'000); // the replay ended
        for (const QString& line : log.messages("AppState"))
            QVERIFY2(!line.startsWith("notificationsSuppressed fallback"), qPrintable(line));
        sim->publishEvent("conversation.escalated", "p1", u"conv_live"_qs,
                          {{"notify", true}, {"title", "Live"}});
        QTRY_COMPARE(notifier->posted.size(), 1);
    }

    // Signing out and in as someone else, on another account of the service:
    // the statistics are fetched again rather than served from the first
    // account's cache, and the stream does not resume from the first
    // account's last event.
    void theNextAccountStartsFromNothing() {
        signIn();
        QTRY_COMPARE(sim->openStreams(), 1);
        const QString eventId = sim->publishEvent("conversation.updated", "p1", std::nullopt, {});
        QTRY_COMPARE(state->sse().lastEventID(), std::optional<QString>(eventId));
        await(state->loadStats(std::nullopt, 7));
        const auto first = state->cachedStats(std::nullopt, 7);
        QVERIFY(first);

        state->signOut();
        QVERIFY(!state->cachedStats(std::nullopt, 7));

        sim::SimConfig config;
        config.apiKey = "sim-other-key";
        config.data.seed = 2;
        config.heartbeatMs = 200;
        auto other = std::make_unique<SimServer>(config);
        QVERIFY(other->start() > 0);
        qputenv(Configuration::kApiUrlVariable, other->baseUrl().toUtf8());
        std::swap(sim, other);
        signIn();
        QTRY_COMPARE(sim->streamConnections().size(), 1);
        QVERIFY(sim->streamConnections().at(0).toObject().value("last_event_id").isNull());

        await(state->loadStats(std::nullopt, 7));
        QCOMPARE(arrived("GET /api/v2/stats?days=7"), 1);
        const auto second = state->cachedStats(std::nullopt, 7);
        QVERIFY(second);
        QVERIFY(second->conversations != first->conversations || second->buckets != first->buckets);
        state->signOut();
        other.reset();
    }
};

QTEST_GUILESS_MAIN(TestLifecycle)
#include "tst_lifecycle.moc"
