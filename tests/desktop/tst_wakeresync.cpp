// After a sleep or a network change the console reconnects at once and
// catches up: the state over the simulated service, woken by a fake logind on
// a bus of the test's own, and by reachability reports through their seam.

#include "Await.h"
#include "ConnectivityWatcher.h"
#include "FakeNotifier.h"
#include "SimServer.h"
#include "Timing.h"
#include "notifications/NotificationManager.h"
#include "platform/CredentialStore.h"
#include "service/Configuration.h"
#include "state/AppState.h"

#include <QDBusMessage>
#include <QJsonArray>
#include <QJsonObject>
#include <QNetworkAccessManager>
#include <QProcess>
#include <QSettings>
#include <QTemporaryDir>
#include <QTest>

using namespace kv;
using namespace std::chrono_literals;
using kv::test::await;

class TestWakeResync : public QObject {
    Q_OBJECT

    QProcess bus; // stands in for the system bus
    QString busAddress;
    std::unique_ptr<sim::SimServer> sim;
    QNetworkAccessManager network;
    MemoryCredentialStore store;
    QTemporaryDir dir;
    std::unique_ptr<QSettings> settings;
    test::FakeNotifier notifier;
    std::unique_ptr<NotificationManager> manager;
    std::unique_ptr<AppState> state;
    std::unique_ptr<ConnectivityWatcher> watcher;

    // logind, as the console hears it after a suspend.
    void logindSays(bool sleeping) {
        QDBusConnection logind = QDBusConnection::connectToBus(busAddress, "logind");
        QVERIFY(logind.registerService(ConnectivityWatcher::kLogindService));
        QDBusMessage signal =
            QDBusMessage::createSignal(ConnectivityWatcher::kLogindPath,
                                       ConnectivityWatcher::kLogindInterface, "PrepareForSleep");
        signal << sleeping;
        QVERIFY(logind.send(signal));
    }

    int postedFor(const QString& conversationID) const {
        return int(std::count_if(
            notifier.posted.begin(), notifier.posted.end(),
            [&](const NotificationRequest& r) { return r.conversationID == conversationID; }));
    }

private slots:
    void initTestCase() {
        bus.start("dbus-daemon", {"--session", "--nofork", "--print-address=1"});
        QVERIFY(bus.waitForStarted());
        QTRY_VERIFY(bus.canReadLine());
        busAddress = QString::fromUtf8(bus.readLine()).trimmed();
        Timing::current().sseCatchUp = 200ms;
        Timing::current().sseInitialBackoff = 50ms;
        sim = std::make_unique<sim::SimServer>();
        QVERIFY(sim->start() > 0);
        qputenv(Configuration::kApiUrlVariable, sim->baseUrl().toUtf8());
        settings = std::make_unique<QSettings>(dir.filePath("prefs.ini"), QSettings::IniFormat);
        manager = std::make_unique<NotificationManager>(&notifier, settings.get());
        await(store.save(sim->apiKey()));
        AppState::Dependencies deps;
        deps.network = &network;
        deps.credentials = &store;
        deps.settings = settings.get();
        deps.notifications = manager.get();
        state = std::make_unique<AppState>(deps);
        watcher = std::make_unique<ConnectivityWatcher>(
            QDBusConnection::connectToBus(busAddress, "system"));
        connect(watcher.get(), &ConnectivityWatcher::resumed, state.get(), &AppState::resume);
        connect(watcher.get(), &ConnectivityWatcher::networkLost, state.get(),
                &AppState::networkLost);
        await(state->bootstrap());
        QTRY_COMPARE(state->connectionState(), ConnectionState::connected);
        QTRY_VERIFY(!state->notificationsSuppressed());
    }

    void cleanupTestCase() {
        watcher.reset();
        state.reset();
        sim.reset();
        bus.terminate();
        bus.waitForFinished();
        Timing::current() = Timing{};
    }

    // Asleep, the stream looks open but carries nothing; a visitor asks for a
    // human meanwhile. On waking: one new connection resuming where the old one
    // was, the lists fetched again, and that visitor announced once.
    void wakeReconnectsAndAnnouncesWhatHappened() {
        const QString lastSeen = sim->publishEvent("widget.updated", "p1", std::nullopt, {});
        QTRY_COMPARE(state->sse().lastEventID(), std::optional(lastSeen));
        await(state->detectionRefresh()); // what the last poll before the sleep saw
        logindSays(true);                 // going to sleep changes nothing
        sim->stallStreams();
        const QString escalated = sim->withData([](sim::SimData& d) {
            for (auto& c : d.conversations)
                if (c.status == u"active") {
                    c.status = QStringLiteral("waiting");
                    c.hasUnread = true;
                    return c.id;
                }
            return QString();
        });
        QVERIFY(!escalated.isEmpty());
        const QString project = sim->withData([&](sim::SimData& d) {
            return std::find_if(d.conversations.begin(), d.conversations.end(),
                                [&](const auto& c) { return c.id == escalated; })
                ->projectId;
        });
        sim->publishEvent("conversation.escalated", project, escalated, {{"notify", true}});
        const qsizetype connectionsBefore = sim->streamConnections().size();
        sim->clearRequests();

        logindSays(false);
        QTRY_COMPARE(sim->streamConnections().size(), connectionsBefore + 1);
        QCOMPARE(sim->streamConnections().last().toObject()["last_event_id"].toString(), lastSeen);
        QTRY_COMPARE(postedFor(escalated), 1);
        QTRY_VERIFY(state->conversationStore().find(escalated) &&
                    state->conversationStore().find(escalated)->status ==
                        ConversationStatus::waiting);
        // Barrier: the replay is over and the stream is live again; still once.
        QTRY_COMPARE(state->connectionState(), ConnectionState::connected);
        QTRY_VERIFY(!state->sse().inCatchUp() && !state->notificationsSuppressed());
        QCOMPARE(postedFor(escalated), 1);
        QVERIFY(notifier.posted.last().urgent);
    }

    // Offline the indicator reads reconnecting, never "Live"; back online it
    // connects again at once.
    void networkLossReadsReconnecting() {
        sim->failNextStreams(503, 1000); // nothing gets through while offline
        watcher->reachabilityChanged(false);
        QTRY_COMPARE(state->connectionState(), ConnectionState::reconnecting);
        sim->failNextStreams(503, 0);
        const qsizetype connectionsBefore = sim->streamConnections().size();
        watcher->reachabilityChanged(true);
        QTRY_COMPARE(state->connectionState(), ConnectionState::connected);
        QVERIFY(sim->streamConnections().size() > connectionsBefore);
    }
};

QTEST_GUILESS_MAIN(TestWakeResync)
#include "tst_wakeresync.moc"
