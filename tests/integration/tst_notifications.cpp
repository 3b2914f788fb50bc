// Notification rules and change detection, without a desktop: the state runs
// against the simulated service, the notifier only records.

#include "Await.h"
#include "FakeNotifier.h"
#include "LogCapture.h"
#include "SimServer.h"
#include "Timing.h"
#include "notifications/NotificationManager.h"
#include "platform/CredentialStore.h"
#include "service/Configuration.h"
#include "state/AppState.h"

#include <QJsonDocument>
#include <QNetworkAccessManager>
#include <QSettings>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>

using namespace kv;
using namespace std::chrono_literals;
using kv::sim::SimServer;
using kv::test::await;
using Kind = RealtimeEvent::Kind;

namespace {

RealtimeEvent realtime(Kind kind, const QString& projectID, std::optional<QString> conversationID,
                       bool notify = true) {
    RealtimeEvent e;
    e.kind = kind;
    e.type = RealtimeEvent::kindText(kind);
    e.projectID = projectID;
    e.conversationID = std::move(conversationID);
    e.notify = notify;
    e.title = "title";
    e.body = "body";
    return e;
}

Conversation conversation(const char* id, const char* project, ConversationStatus status,
                          qint64 messages, bool unread) {
    Conversation c;
    c.id = id;
    c.projectID = project;
    c.status = status;
    c.messageCount = messages;
    c.hasUnread = unread;
    c.visitorName = "Mette";
    c.lastMessagePreview = "Hello?";
    return c;
}

Visitor visitor(const char* id, const char* project, std::optional<QString> country,
                std::optional<QString> title, const char* page) {
    Visitor v;
    v.visitorID = id;
    v.projectID = project;
    v.country = std::move(country);
    v.pageTitle = std::move(title);
    v.pageURL = page;
    return v;
}

} // namespace

class TestNotifications : public QObject {
    Q_OBJECT

    std::unique_ptr<SimServer> sim;
    std::unique_ptr<QNetworkAccessManager> network;
    MemoryCredentialStore store;
    std::unique_ptr<QTemporaryDir> dir;
    std::unique_ptr<QSettings> settings;
    std::unique_ptr<test::FakeNotifier> notifier;
    std::unique_ptr<NotificationManager> manager;
    std::unique_ptr<AppState> state;
    QDateTime now;

    void advance(qint64 seconds) { now = now.addSecs(seconds); }

    QStringList titles() const {
        QStringList out;
        for (const auto& r : notifier->posted)
            out.append(r.title);
        return out;
    }

private slots:
    void init() {
        Timing::current() = Timing{};
        Timing::current().suppressionFallback = 100ms;
        sim = std::make_unique<SimServer>();
        QVERIFY(sim->start() > 0);
        qputenv(Configuration::kApiUrlVariable, sim->baseUrl().toUtf8());
        network = std::make_unique<QNetworkAccessManager>();
        dir = std::make_unique<QTemporaryDir>();
        settings = std::make_unique<QSettings>(dir->filePath("prefs.ini"), QSettings::IniFormat);
        notifier = std::make_unique<test::FakeNotifier>();
        manager = std::make_unique<NotificationManager>(notifier.get(), settings.get());
        now = QDateTime::currentDateTimeUtc();
        manager->setClock([this] { return now; });
        await(store.save(sim->apiKey()));
        AppState::Dependencies deps;
        deps.network = network.get();
        deps.credentials = &store;
        deps.settings = settings.get();
        deps.notifications = manager.get();
        state = std::make_unique<AppState>(deps);
        sim->failNextStreams(503, 1000); // the stream never connects: the fallback ends suppression
        await(state->bootstrap());
        QTRY_VERIFY(!state->notificationsSuppressed());
        QCOMPARE(manager->permission(), NotificationPermission::authorized);
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

    void fallbackEndsSuppressionWhenTheStreamNeverCatchesUp() {
        test::LogCapture log;
        state->signOut();
        QVERIFY(state->notificationsSuppressed());
        state->api().setApiKey(sim->apiKey()); // signed in again
        await(state->bootstrap());
        QTRY_VERIFY(!state->notificationsSuppressed());
        QVERIFY(
            log.messages("AppState")
                .contains(
                    u"notificationsSuppressed fallback: SSE never signalled catch-up — going live"_qs));
    }

    void throttleWindows() {
        manager->present(realtime(Kind::escalated, "p1", u"c1"_qs));
        advance(5);
        manager->present(realtime(Kind::escalated, "p1", u"c1"_qs));
        QCOMPARE(notifier->posted.size(), 1);
        advance(8); // 13 s after the first
        manager->present(realtime(Kind::escalated, "p1", u"c1"_qs));
        QCOMPARE(notifier->posted.size(), 2);

        // Visitors: one per agent per 30 minutes, keyed by the agent.
        manager->present(realtime(Kind::visitorOnline, "p2", std::nullopt));
        advance(29 * 60);
        manager->present(realtime(Kind::visitorOnline, "p2", std::nullopt));
        QCOMPARE(notifier->posted.size(), 3);
        advance(61);
        manager->present(realtime(Kind::visitorOnline, "p2", std::nullopt));
        QCOMPARE(notifier->posted.size(), 4);

        // Not marked for notification, or of an unknown kind: never.
        manager->present(realtime(Kind::messageReceived, "p1", u"c9"_qs, false));
        manager->present(realtime(Kind::unknown, "p1", u"c9"_qs));
        QCOMPARE(notifier->posted.size(), 4);
        const NotificationRequest& first = notifier->posted.first();
        QCOMPARE(first.projectID, u"p1"_qs);
        QCOMPARE(first.conversationID, std::optional<QString>(u"c1"_qs));
        QVERIFY(first.sound);
    }

    void bothPathsShareTheThrottle() {
        state->detectConversationChanges(
            {conversation("c1", "p1", ConversationStatus::active, 2, false)}, "__all__");
        manager->present(realtime(Kind::escalated, "p1", u"c1"_qs));
        QCOMPARE(notifier->posted.size(), 1);
        advance(2);
        state->detectConversationChanges(
            {conversation("c1", "p1", ConversationStatus::waiting, 3, true)}, "__all__");
        QCOMPARE(notifier->posted.size(), 1); // the same escalation, found by polling
    }

    void togglesAndSound() {
        settings->setValue(NotificationManager::kNewMessageKey, false);
        manager->present(realtime(Kind::messageReceived, "p1", u"c1"_qs));
        QCOMPARE(notifier->posted.size(), 0);
        state->detectConversationChanges(
            {conversation("c1", "p1", ConversationStatus::waiting, 2, true)}, "__all__");
        state->detectConversationChanges(
            {conversation("c1", "p1", ConversationStatus::waiting, 4, true)}, "__all__");
        QCOMPARE(notifier->posted.size(), 0); // silenced on the polling path too

        // Anything but a Bool counts as on, even the text "false".
        settings->setValue(NotificationManager::kNewMessageKey, QStringLiteral("false"));
        QVERIFY(manager->globallyEnabled(Kind::messageReceived));
        settings->setValue(NotificationManager::kPlaySoundKey, false);
        manager->present(realtime(Kind::messageReceived, "p1", u"c2"_qs));
        QCOMPARE(notifier->posted.size(), 1);
        QVERIFY(!notifier->posted.last().sound);
        QVERIFY(!manager->globallyEnabled(Kind::unknown));
    }

    void mutedAgentsStillStartTheWindow() {
        test::LogCapture log;
        state->upsertPref("p1", true);
        manager->present(realtime(Kind::escalated, "p1", u"c1"_qs));
        QCOMPARE(notifier->posted.size(), 0);
        QVERIFY(log.messages("Notifications").contains(u"fire skipped — agent muted: p1"_qs));
        state->upsertPref("p1", false);
        advance(3);
        manager->present(realtime(Kind::escalated, "p1", u"c1"_qs));
        QCOMPARE(notifier->posted.size(), 0);
    }

    void pruning() {
        for (int i = 0; i < 500; ++i)
            QVERIFY(!manager->suppress(QStringLiteral("escalated:old%1").arg(i), 12s));
        advance(34 * 60);
        QVERIFY(!manager->suppress(u"escalated:young"_qs, 12s));
        QCOMPARE(manager->throttledKeys(), 501); // nothing yet older than 35 minutes... until:
        advance(2 * 60);
        QVERIFY(!manager->suppress(u"escalated:newest"_qs, 12s));
        QCOMPARE(manager->throttledKeys(), 2); // "young" and "newest" stay
        QVERIFY(manager->suppress(u"escalated:newest"_qs, 12s));
    }

    void repliesAndClicks() {
        await(state->loadConversations(u"p2"_qs));
        const QString chat = state->conversations().first().id;
        const QString other = state->conversations().at(1).id;
        const QString sendPath = "/api/v2/projects/p2/conversations/" + chat + "/send";
        // The stream keeps retrying in this fixture: look at the replies only.
        const auto sent = [&] {
            QList<QJsonObject> out;
            for (const QJsonValue& r : sim->requests()) {
                if (r.toObject()["target"].toString().endsWith("/send"))
                    out.append(r.toObject());
            }
            return out;
        };

        // A blank reply sends nothing; the real one after it is the only one the service gets.
        notifier->reply("p2", chat, "   \n ");
        notifier->reply("p2", chat, "  Right away!  \n");
        QTRY_COMPARE(sent().size(), 1);
        QCOMPARE(sent()[0]["target"].toString(), sendPath);
        const QJsonObject body =
            QJsonDocument::fromJson(sent()[0]["body"].toString().toUtf8()).object();
        QCOMPARE(body["text"].toString(), u"Right away!"_qs);
        QCOMPARE(body["resolve_after"].toBool(), false);

        // A reply the service refuses comes back as a notification holding its text.
        notifier->reply("p2", "conv_missing", "Are you there?");
        QTRY_COMPARE(notifier->posted.size(), 1);
        QCOMPARE(notifier->posted.last().title, u"Reply not sent"_qs);
        QCOMPARE(notifier->posted.last().body, u"Are you there?"_qs);
        QCOMPARE(notifier->posted.last().conversationID,
                 std::optional<QString>(u"conv_missing"_qs));

        // A click without an agent only brings the window forward. (A navigation
        // would have changed the selection at once, inside the click.)
        QSignalSpy activate(manager.get(), &NotificationManager::activateRequested);
        state->setSelectedProjectID(u"p1"_qs);
        state->setSelectedSection(AppSection::stats);
        notifier->click(QString(), std::nullopt);
        QCOMPARE(activate.size(), 1);
        QCOMPARE(state->selectedProjectID(), std::optional<QString>(u"p1"_qs));
        QCOMPARE(state->selectedSection(), AppSection::stats);

        // A click on another conversation opens it in the inbox.
        QVERIFY(state->selectedConversationID() != std::optional(other));
        notifier->click("p2", other);
        QTRY_COMPARE(state->selectedConversationID(), std::optional(other));
        QCOMPARE(state->selectedProjectID(), std::optional<QString>(u"p2"_qs));
        QCOMPARE(state->selectedSection(), AppSection::inbox);
        QCOMPARE(activate.size(), 2);
    }

    void deniedPermissionPostsNothing() {
        test::LogCapture log;
        notifier->answer = NotificationPermission::denied;
        await(manager->refreshAuthorizationStatus());
        manager->present(realtime(Kind::escalated, "p1", u"c1"_qs));
        QCOMPARE(notifier->posted.size(), 0);
        QVERIFY(log.messages("Notifications")
                    .contains(
                        u"fire skipped — notifications denied for Kestovar in System Settings"_qs));
    }

    void conversationDetection() {
        const QString all = "__all__";
        const auto name = state->project("p1")->name;
        // The first look only records, even with work waiting.
        state->detectConversationChanges(
            {conversation("c1", "p1", ConversationStatus::waiting, 3, true),
             conversation("c2", "p1", ConversationStatus::active, 2, false),
             conversation("c3", "p1", ConversationStatus::active, 2, false)},
            all);
        QVERIFY(notifier->posted.isEmpty());

        Conversation withReason = conversation("c3", "p1", ConversationStatus::active, 2, false);
        withReason.aiEscalationReason = "Refund";
        state->detectConversationChanges(
            {conversation("c1", "p1", ConversationStatus::waiting, 5, true),  // more, unread
             conversation("c2", "p1", ConversationStatus::waiting, 2, false), // escalated
             withReason,                                                      // escalated
             conversation("c4", "p9", ConversationStatus::waiting, 1, true),  // new, unknown agent
             conversation("c5", "p1", ConversationStatus::active, 9, true)},  // AI handles it
            all);
        QCOMPARE(titles(), (QStringList{name + " — waiting for you", name + " — wants a human",
                                        name + " — wants a human", "Kestovar — wants a human"}));
        QCOMPARE(notifier->posted.first().body, u"Mette: Hello?"_qs);
        QCOMPARE(notifier->posted.first().conversationID, std::optional<QString>(u"c1"_qs));

        // More messages but read: nothing.
        advance(60);
        state->detectConversationChanges(
            {conversation("c1", "p1", ConversationStatus::waiting, 7, false)}, all);
        QCOMPARE(notifier->posted.size(), 4);
    }

    // A visitor who wants a human is posted as urgent and stays on screen until
    // someone acts: withdrawn once a look, or the list the operator sees, shows
    // the conversation no longer waiting; a newer notice of it stays urgent.
    void escalationsStayUntilSomeoneAnswers() {
        const QString all = "__all__";
        state->detectConversationChanges(
            {conversation("c1", "p1", ConversationStatus::active, 1, false)}, all);
        state->detectConversationChanges(
            {conversation("c1", "p1", ConversationStatus::waiting, 2, true)}, all);
        QCOMPARE(notifier->posted.size(), 1);
        QVERIFY(notifier->posted.last().urgent);
        advance(60);
        state->detectConversationChanges(
            {conversation("c1", "p1", ConversationStatus::waiting, 3, true)}, all);
        QCOMPARE(notifier->posted.size(), 2);
        QVERIFY(notifier->posted.last().urgent); // replaces the waiting notice
        QVERIFY(notifier->withdrawn.isEmpty());
        state->detectConversationChanges(
            {conversation("c1", "p1", ConversationStatus::operatorActive, 4, false)}, all);
        QCOMPARE(notifier->withdrawn, QStringList{"c1"});
        QVERIFY(manager->waitingOnScreen().isEmpty());

        // From the stream, then answered elsewhere and seen in the listed conversations.
        const QString waiting = sim->withData([](sim::SimData& d) {
            for (const auto& c : d.conversations) {
                if (c.status == u"waiting")
                    return c.id;
            }
            return QString();
        });
        QVERIFY(!waiting.isEmpty());
        manager->present(realtime(Kind::escalated, "p1", waiting));
        QVERIFY(notifier->posted.last().urgent);
        manager->present(realtime(Kind::messageReceived, "p1", u"other"_qs));
        QVERIFY(!notifier->posted.last().urgent); // not a waiting visitor
        await(state->loadConversations(std::nullopt));
        QCOMPARE(notifier->withdrawn, QStringList{"c1"}); // still waiting: stays
        sim->withData([&](sim::SimData& d) {
            for (auto& c : d.conversations) {
                if (c.id == waiting)
                    c.status = "resolved";
            }
            return 0;
        });
        await(state->loadConversations(std::nullopt));
        QCOMPARE(notifier->withdrawn, (QStringList{"c1", waiting}));

        // Escalations that no list ever shows again are remembered up to a
        // bound, the oldest forgotten first: a day of them does not pile up.
        const int many = NotificationManager::kMaxWaiting + 50;
        for (int i = 0; i < many; ++i)
            manager->present(realtime(Kind::escalated, "p1", u"gone%1"_qs.arg(i)));
        QCOMPARE(manager->waitingOnScreen().size(), NotificationManager::kMaxWaiting);
        QVERIFY(!manager->waitingOnScreen().contains(u"gone49"_qs));
        QVERIFY(manager->waitingOnScreen().contains(u"gone50"_qs));
        QVERIFY(manager->waitingOnScreen().contains(u"gone%1"_qs.arg(many - 1)));
    }

    void suppressedLooksOnlyRecord() {
        state->detectConversationChanges(
            {conversation("c1", "p1", ConversationStatus::active, 1, false)}, "__all__");
        state->signOut(); // suppression is on again until the next catch-up
        await(store.save(sim->apiKey()));
        state->api().setApiKey(sim->apiKey());
        state->detectConversationChanges(
            {conversation("c1", "p1", ConversationStatus::active, 1, false)}, "__all__");
        QVERIFY(state->notificationsSuppressed());
        state->detectConversationChanges(
            {conversation("c1", "p1", ConversationStatus::waiting, 2, true)}, "__all__");
        QVERIFY(notifier->posted.isEmpty());
    }

    void visitorDetection() {
        const QString all = "__all__";
        const QString p1 = state->project("p1")->name;
        const QString p2 = state->project("p2")->name;
        state->detectVisitorChanges({visitor("v0", "p1", {}, {}, "https://x.example/")}, all);
        QVERIFY(notifier->posted.isEmpty());

        state->detectVisitorChanges(
            {visitor("v0", "p1", {}, {}, "https://x.example/"),
             visitor("v1", "p1", {}, {}, "https://x.example/a"),
             visitor("v2", "p1", {}, {}, "https://x.example/b"),
             visitor("v3", "p1", {}, {}, "https://x.example/c"),
             visitor("v4", "p2", u"dk"_qs, {}, "https://shop.example/products/jacket?x=1")},
            all);
        QCOMPARE(notifier->posted.size(), 2);
        QCOMPARE(notifier->posted[0].title, p1 + " — visitors online");
        QCOMPARE(notifier->posted[0].body, u"3 visitors browsing now"_qs);
        QCOMPARE(notifier->posted[1].title, p2 + " — visitor online");
        QCOMPARE(notifier->posted[1].body, u"🇩🇰 shop.example"_qs);
        QVERIFY(!notifier->posted[1].conversationID);

        // Within the agent's 30 minutes, a new arrival stays quiet; after, a returner is news.
        advance(60);
        state->detectVisitorChanges({visitor("v5", "p2", {}, u"Pricing"_qs, "/pricing")}, all);
        QCOMPARE(notifier->posted.size(), 2);
        advance(31 * 60);
        state->detectVisitorChanges({visitor("v4", "p2", {}, u"Pricing"_qs, "/pricing")}, all);
        QCOMPARE(notifier->posted.size(), 3);
        QCOMPARE(notifier->posted.last().body, u"🌐 Pricing"_qs);
    }

    void flagsGroupsAndBadge() {
        QCOMPARE(AppState::flagEmoji(u"se"_qs), AppState::flagEmoji(u"SE"_qs));
        QCOMPARE(AppState::flagEmoji(u"SE"_qs), u"🇸🇪"_qs);
        QCOMPARE(AppState::flagEmoji(u"SWE"_qs), u"🌐"_qs);
        QCOMPARE(AppState::flagEmoji(QString()), u"🌐"_qs);
        QCOMPARE(AppState::flagEmoji(std::nullopt), u"🌐"_qs);

        await(state->loadLiveVisitors(std::nullopt));
        const auto groups = state->visibleVisitorGroups();
        qsizetype total = 0;
        for (qsizetype i = 0; i < groups.size(); ++i) {
            total += groups[i].visitors.size();
            if (i > 0)
                QVERIFY(groups[i - 1].visitors.size() >= groups[i].visitors.size());
            for (qsizetype j = 1; j < groups[i].visitors.size(); ++j)
                QVERIFY(groups[i].visitors[j - 1].lastSeen >= groups[i].visitors[j].lastSeen);
        }
        QCOMPARE(total, state->liveVisitors().size());
    }
};

QTEST_GUILESS_MAIN(TestNotifications)
#include "tst_notifications.moc"
