// Notifications and the unread badge on a real session bus: against a
// scripted notification server on a private bus name (to play replies and
// actions), against dunst (a real server), and end to end with the
// simulated service.

#include "Await.h"
#include "FakeNotificationServer.h"
#include "FreedesktopNotifier.h"
#include "LauncherBadge.h"
#include "LogCapture.h"
#include "SimServer.h"
#include "Timing.h"
#include "notifications/NotificationManager.h"
#include "platform/CredentialStore.h"
#include "service/Configuration.h"
#include "state/AppState.h"

#include <QDBusArgument>
#include <QDBusConnectionInterface>
#include <QDBusMessage>
#include <QDBusPendingCall>
#include <QJsonArray>
#include <QJsonObject>
#include <QNetworkAccessManager>
#include <QProcess>
#include <QSettings>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>

using namespace kv;
using namespace std::chrono_literals;
using kv::test::await;
using kv::test::FakeNotificationServer;

namespace {

NotificationRequest request(const char* title, std::optional<QString> conversationID) {
    return NotificationRequest{QString::fromUtf8(title), "body", true, "p1",
                               std::move(conversationID)};
}

// The requests the service answered for one target (path and query), oldest first.
QList<QJsonObject> requestsTo(const kv::sim::SimServer& sim, const QString& target) {
    QList<QJsonObject> out;
    for (const QJsonValue& r : sim.requests()) {
        if (r.toObject()["target"].toString() == target)
            out.append(r.toObject());
    }
    return out;
}

// What a visitor can type, and how a server that reads markup must receive it.
const QString kHostileBody = u"Tom & Jerry <b>bold</b> <img src=x> 1 < 2 > 0"_qs;
const QString kEscapedBody =
    u"Tom &amp; Jerry &lt;b&gt;bold&lt;/b&gt; &lt;img src=x&gt; 1 &lt; 2 &gt; 0"_qs;

bool haveBus() {
    return QDBusConnection::sessionBus().isConnected();
}

} // namespace

// Collects the launcher-entry signals seen on the bus.
class UpdateListener : public QObject {
    Q_OBJECT

public:
    QList<QDBusMessage> updates;

public slots:
    void onUpdate(const QDBusMessage& message) { updates.append(message); }
};

class TestDesktopNotifications : public QObject {
    Q_OBJECT

private slots:
    void initTestCase() {
        if (!haveBus())
            QSKIP("needs the headless desktop session (scripts/test)");
    }

    void inlineReplyServer() {
        FakeNotificationServer server("org.kestovar.TestNotifications.inline",
                                      {"actions", "body", "inline-reply"});
        QVERIFY(server.isRegistered());
        FreedesktopNotifier notifier(QDBusConnection::sessionBus(), server.serviceName());
        QCOMPARE(await(notifier.requestAuthorization()), NotificationPermission::authorized);

        QCOMPARE(await(notifier.post(request("Northwind — wants a human", u"c1"_qs))),
                 std::nullopt);
        QCOMPARE(server.calls.size(), 1);
        const test::NotifyCall call = server.calls[0]; // a copy: the list grows below
        QCOMPARE(call.appName, u"Kestovar"_qs);
        QCOMPARE(call.summary, u"Northwind — wants a human"_qs);
        QCOMPARE(call.replacesId, 0u);
        QCOMPARE(call.actions, (QStringList{"default", "Open", "inline-reply", "Reply"}));
        QCOMPARE(call.hints["desktop-entry"].toString(), u"com.kestovar.Kestovar"_qs);
        QCOMPARE(call.hints["category"].toString(), u"im.received"_qs);
        QCOMPARE(call.hints["urgency"].typeId(), int(QMetaType::UChar)); // a byte on the wire
        QCOMPARE(call.hints["sound-name"].toString(), u"message-new-instant"_qs);

        // The same conversation again: replaced in place, not stacked.
        await(notifier.post(request("Northwind — waiting for you", u"c1"_qs)));
        QCOMPARE(server.calls[1].replacesId, call.id);
        NotificationRequest quiet = request("Visitors", std::nullopt);
        quiet.sound = false;
        await(notifier.post(quiet));
        QCOMPARE(server.calls[2].replacesId, 0u);
        QCOMPARE(server.calls[2].actions, (QStringList{"default", "Open"})); // no conversation
        QVERIFY(server.calls[2].hints["suppress-sound"].toBool());

        QSignalSpy replied(&notifier, &Notifier::replied);
        QSignalSpy activated(&notifier, &Notifier::activated);
        server.typeReply(call.id, "On my way");
        QTRY_COMPARE(replied.size(), 1);
        QCOMPARE(replied[0][0].toString(), u"p1"_qs);
        QCOMPARE(replied[0][1].value<std::optional<QString>>(), std::optional<QString>(u"c1"_qs));
        QCOMPARE(replied[0][2].toString(), u"On my way"_qs);

        server.invokeAction(server.calls[2].id, "default");
        QTRY_COMPARE(activated.size(), 1);
        QCOMPARE(activated[0][1].value<std::optional<QString>>(), std::nullopt);

        // The server's signals arrive in order: a click on a notification of
        // another conversation, sent after a signal, shows that it was handled.
        const auto clickMarker = [&](const QString& conversationID) {
            await(notifier.post(request("Marker", conversationID)));
            server.invokeAction(server.calls.last().id, "default");
            QTRY_VERIFY(activated.last()[1].value<std::optional<QString>>() == conversationID);
        };
        // Someone else's notification id is none of our business.
        server.invokeAction(999, "default");
        clickMarker(u"c8"_qs);
        QCOMPARE(activated.size(), 2);

        // Once closed, a new notification of the conversation starts afresh.
        server.close(call.id);
        clickMarker(u"c9"_qs);
        await(notifier.post(request("Again", u"c1"_qs)));
        QCOMPARE(server.calls.last().replacesId, 0u);
    }

    void replyActionWhereNoInlineReply() {
        FakeNotificationServer server("org.kestovar.TestNotifications.plain", {"actions", "body"});
        QVERIFY(server.isRegistered());
        FreedesktopNotifier notifier(QDBusConnection::sessionBus(), server.serviceName());
        await(notifier.post(request("Escalation", u"c7"_qs)));
        QCOMPARE(server.calls[0].actions, (QStringList{"default", "Open", "reply", "Reply"}));
        QSignalSpy window(&notifier, &Notifier::replyWindowRequested);
        server.invokeAction(server.calls[0].id, "reply");
        QTRY_COMPARE(window.size(), 1);
        QCOMPARE(window[0][1].toString(), u"c7"_qs);

        // A server that reads no markup shows the body as sent: escaping would show "&amp;".
        NotificationRequest hostile = request("Visitor", u"c7"_qs);
        hostile.body = kHostileBody;
        await(notifier.post(hostile));
        QCOMPARE(server.calls.last().body, kHostileBody);
    }

    void bodyEscapedForAServerThatReadsMarkup() {
        QCOMPARE(FreedesktopNotifier::escapeBodyMarkup(kHostileBody), kEscapedBody);
        QCOMPARE(FreedesktopNotifier::escapeBodyMarkup(u"«Olá» \"quoted\" it's"_qs),
                 u"«Olá» \"quoted\" it's"_qs); // only what markup reads is touched

        FakeNotificationServer server("org.kestovar.TestNotifications.markup",
                                      {"actions", "body", "body-markup"});
        QVERIFY(server.isRegistered());
        FreedesktopNotifier notifier(QDBusConnection::sessionBus(), server.serviceName());
        NotificationRequest hostile = request("Tom & <b>Jerry</b>", u"c2"_qs);
        hostile.body = kHostileBody;
        await(notifier.post(hostile));
        QCOMPARE(server.calls.last().body, kEscapedBody);
        QCOMPARE(server.calls.last().summary,
                 u"Tom & <b>Jerry</b>"_qs); // a summary is never markup
    }

    // A restarted server numbers its notifications from scratch: nothing the
    // old one showed is replaced or answered for on the new one.
    void aRestartedServerStartsAfresh() {
        const QString name = "org.kestovar.TestNotifications.restart";
        auto server = std::make_unique<FakeNotificationServer>(name, QStringList{"actions"});
        QVERIFY(server->isRegistered());
        FreedesktopNotifier notifier(QDBusConnection::sessionBus(), name);
        await(notifier.post(request("Before", u"c1"_qs)));
        QCOMPARE(notifier.tracked(), 1);

        server.reset();
        QTRY_COMPARE(notifier.tracked(), 0);
        server =
            std::make_unique<FakeNotificationServer>(name, QStringList{"actions", "inline-reply"});
        QVERIFY(server->isRegistered());
        QSignalSpy replied(&notifier, &Notifier::replied);
        server->typeReply(1, "not ours"); // another program's notification with the old id
        await(notifier.post(request("After", u"c1"_qs)));
        QCOMPARE(server->calls.last().replacesId, 0u);
        // The new server's abilities were asked for again.
        QCOMPARE(server->calls.last().actions,
                 (QStringList{"default", "Open", "inline-reply", "Reply"}));
        server->typeReply(server->calls.last().id, "ours");
        QTRY_COMPARE(replied.size(), 1);
        QCOMPARE(replied[0][2].toString(), u"ours"_qs);
    }

    // However long the console runs, it remembers at most its newest notifications.
    void trackingIsBounded() {
        FakeNotificationServer server("org.kestovar.TestNotifications.many", {"actions"});
        QVERIFY(server.isRegistered());
        FreedesktopNotifier notifier(QDBusConnection::sessionBus(), server.serviceName());
        for (int i = 0; i <= FreedesktopNotifier::kMaxTracked; ++i)
            await(notifier.post(request("Chat", "c" + QString::number(i))));
        QCOMPARE(notifier.tracked(), FreedesktopNotifier::kMaxTracked);
        // The oldest is forgotten: its conversation starts a new notification…
        await(notifier.post(request("Chat", u"c0"_qs)));
        QCOMPARE(server.calls.last().replacesId, 0u);
        // …while a recent one is still replaced in place.
        await(notifier.post(request("Chat", u"c200"_qs)));
        QCOMPARE(server.calls.last().replacesId, server.calls[200].id);
        QCOMPARE(notifier.tracked(), FreedesktopNotifier::kMaxTracked);
    }

    // Closed while the server is still answering a notification: the answer
    // lands on nothing (it used to crash), and the post says it was not shown.
    void aNotifierClosedWhileTheServerAnswers() {
        FakeNotificationServer server("org.kestovar.TestNotifications.closing",
                                      {"actions", "body"});
        QVERIFY(server.isRegistered());
        auto notifier = std::make_unique<FreedesktopNotifier>(QDBusConnection::sessionBus(),
                                                              server.serviceName());
        QCOMPARE(await(notifier->requestAuthorization()), NotificationPermission::authorized);
        QCoro::Task<std::optional<QString>> posting =
            notifier->post(request("Northwind — wants a human", u"c1"_qs));
        notifier.reset();
        QTRY_COMPARE(server.calls.size(), 1);
        // Answers come back in order: once a later one is in, the first has been delivered.
        FreedesktopNotifier later(QDBusConnection::sessionBus(), server.serviceName());
        QCOMPARE(await(later.currentAuthorization()), NotificationPermission::authorized);
        QCOMPARE(await(std::move(posting)), std::optional<QString>(u"the notifier was closed"_qs));
    }

    // A second notice for a conversation sent before the server has answered the
    // first replaces it (it used to go up beside it, and the first stayed for good).
    void aSecondNoticeBeforeTheFirstIsAnsweredReplacesIt() {
        FakeNotificationServer server("org.kestovar.TestNotifications.quick", {"actions", "body"});
        QVERIFY(server.isRegistered());
        FreedesktopNotifier notifier(QDBusConnection::sessionBus(), server.serviceName());
        QCOMPARE(await(notifier.requestAuthorization()), NotificationPermission::authorized);
        QCoro::Task<std::optional<QString>> first = notifier.post(request("Waiting", u"c1"_qs));
        QCoro::Task<std::optional<QString>> second = notifier.post(request("Still", u"c1"_qs));
        QCOMPARE(await(std::move(first)), std::nullopt);
        QCOMPARE(await(std::move(second)), std::nullopt);
        QCOMPARE(server.calls.size(), 2);
        QCOMPARE(server.calls[1].replacesId, server.calls[0].id);
    }

    void noServerIsItsOwnState() {
        FreedesktopNotifier notifier(QDBusConnection::sessionBus(), "org.kestovar.NobodyHome");
        QCOMPARE(await(notifier.currentAuthorization()), NotificationPermission::noServer);
        QVERIFY(await(notifier.post(request("x", std::nullopt))).has_value());
    }

    void realServer() {
        auto* bus = QDBusConnection::sessionBus().interface();
        if (!bus->isServiceRegistered("org.freedesktop.Notifications"))
            QSKIP("no notification server in this session");
        QProcess monitor;
        monitor.start("dbus-monitor",
                      {"--session", "type='method_call',interface='org.freedesktop.Notifications',"
                                    "member='Notify'"});
        QVERIFY(monitor.waitForStarted());
        // The monitor gives up its name once it is watching: only then can nothing be missed.
        QString seen;
        QTRY_VERIFY((seen += QString::fromUtf8(monitor.readAllStandardOutput()))
                        .contains("member=NameLost"));

        // Other tests' notifications may still show; ours must be the one clicked.
        QProcess::execute("dunstctl", {"close-all"});
        FreedesktopNotifier notifier;
        QCOMPARE(await(notifier.requestAuthorization()), NotificationPermission::authorized);
        QVERIFY(notifier.capabilities().contains("actions"));
        // dunst reads bodies as markup: what goes over the bus is escaped.
        QVERIFY(notifier.capabilities().contains("body-markup"));
        NotificationRequest online = request("Harbor & Vine — visitor online", u"c3"_qs);
        online.body = kHostileBody;
        QCOMPARE(await(notifier.post(online)), std::nullopt);

        QTRY_VERIFY((seen += QString::fromUtf8(monitor.readAllStandardOutput()))
                        .contains("Harbor & Vine — visitor online"));
        QVERIFY(seen.contains(kEscapedBody));
        QVERIFY(!seen.contains("<img"));
        QVERIFY(seen.contains("string \"Kestovar\""));
        QVERIFY(seen.contains("string \"desktop-entry\""));
        QVERIFY(seen.contains("byte 1")); // urgency
        monitor.kill();
        monitor.waitForFinished();

        // A click on the newest notification, as dunst reports it to the poster,
        // once dunst has it on screen (it draws a moment after answering Notify).
        auto displayed = [] {
            QProcess count;
            count.start("dunstctl", {"count", "displayed"});
            count.waitForFinished();
            return QString::fromUtf8(count.readAllStandardOutput()).trimmed().toInt();
        };
        QTRY_COMPARE(displayed(), 1);
        QSignalSpy activated(&notifier, &Notifier::activated);
        QProcess::execute("dunstctl", {"action", "0"});
        QTRY_COMPARE(activated.size(), 1);
        QCOMPARE(activated[0][1].value<std::optional<QString>>(), std::optional<QString>(u"c3"_qs));
    }

    // A visitor waiting for a human: critical and never expiring, until the
    // console takes it back — on a scripted server and on the session's own.
    void waitingVisitorStaysUntilWithdrawn() {
        FakeNotificationServer server("org.kestovar.TestNotifications.urgent", {"actions", "body"});
        QVERIFY(server.isRegistered());
        FreedesktopNotifier scripted(QDBusConnection::sessionBus(), server.serviceName());
        NotificationRequest waiting = request("Northwind — wants a human", u"c1"_qs);
        waiting.urgent = true;
        QCOMPARE(await(scripted.post(waiting)), std::nullopt);
        QCOMPARE(await(scripted.post(request("Bluebell — visitor online", u"c2"_qs))),
                 std::nullopt);
        QCOMPARE(server.calls[0].hints["urgency"].value<uchar>(), uchar(2));
        QCOMPARE(server.calls[0].timeout, 0);
        QCOMPARE(server.calls[1].hints["urgency"].value<uchar>(), uchar(1));
        QCOMPARE(server.calls[1].timeout, -1);
        scripted.withdraw(u"c1"_qs);
        QTRY_COMPARE(server.closedByCaller, QList<uint>{server.calls[0].id});
        scripted.withdraw(u"c1"_qs); // already taken back: nothing more
        scripted.withdraw(u"unknown"_qs);
        QCOMPARE(scripted.tracked(), 1);

        auto* bus = QDBusConnection::sessionBus().interface();
        if (!bus->isServiceRegistered("org.freedesktop.Notifications"))
            QSKIP("no notification server in this session");
        QProcess::execute("dunstctl", {"close-all"});
        auto displayed = [] {
            QProcess count;
            count.start("dunstctl", {"count", "displayed"});
            count.waitForFinished();
            return QString::fromUtf8(count.readAllStandardOutput()).trimmed().toInt();
        };
        FreedesktopNotifier session;
        QCOMPARE(await(session.requestAuthorization()), NotificationPermission::authorized);
        QCOMPARE(await(session.post(waiting)), std::nullopt);
        QTRY_COMPARE(displayed(), 1);
        session.withdraw(u"c1"_qs);
        QTRY_COMPARE(displayed(), 0);
    }

    // "Repeat the sound until someone answers": the waiting notice posted again
    // in place, with its sound, every period, ten times at most; it ends at
    // once when the visitor is answered, and never starts while the switch is off.
    void escalationSoundRepeatsUntilAnswered() {
        Timing::current().escalationSoundRepeat = 20ms;
        FakeNotificationServer server("org.kestovar.TestNotifications.repeat", {"actions", "body"});
        QVERIFY(server.isRegistered());
        FreedesktopNotifier notifier(QDBusConnection::sessionBus(), server.serviceName());
        QTemporaryDir dir;
        QSettings settings(dir.filePath("prefs.ini"), QSettings::IniFormat);
        NotificationManager manager(&notifier, &settings);

        manager.fire("Northwind — wants a human", "Mette: hello?", "p1", u"c0"_qs, true);
        QTRY_COMPARE(server.calls.size(), 1);
        QVERIFY(!manager.repeatingSound()); // off unless the operator asked

        settings.setValue(NotificationManager::kRepeatEscalationSoundKey, true);
        manager.fire("Northwind — wants a human", "Mette: hello?", "p1", u"c1"_qs, true);
        QVERIFY(manager.repeatingSound());
        QTRY_VERIFY(!manager.repeatingSound());
        // The last repeat is on its way over the bus as the repeating ends.
        QTRY_COMPARE(server.calls.size(), 2 + NotificationManager::kSoundRepeats);
        const uint first = server.calls[1].id;
        for (qsizetype i = 2; i < server.calls.size(); ++i) {
            QCOMPARE(server.calls[i].replacesId, first); // in place, not a new notice
            QCOMPARE(server.calls[i].hints["sound-name"].toString(), u"message-new-instant"_qs);
            QCOMPARE(server.calls[i].hints["urgency"].value<uchar>(), uchar(2));
        }

        Timing::current().escalationSoundRepeat = 200ms; // ten repeats take two seconds
        manager.fire("Bluebell — wants a human", "Anna: hi", "p1", u"c2"_qs, true);
        const qsizetype before = server.calls.size();
        QTRY_VERIFY(server.calls.size() >= before + 2);
        Conversation answered;
        answered.id = u"c0"_qs;
        answered.status = ConversationStatus::operatorActive;
        manager.withdrawAnswered({answered}); // others still wait: the sound goes on
        QVERIFY(manager.repeatingSound());
        answered.id = u"c1"_qs;
        Conversation c2 = answered;
        c2.id = u"c2"_qs;
        manager.withdrawAnswered({answered, c2});
        QVERIFY(!manager.repeatingSound());
        QTRY_COMPARE(server.closedByCaller.size(), 3);
        Timing::current() = Timing{};
    }

    void launcherBadge() {
        QDBusConnection listenerBus =
            QDBusConnection::connectToBus(QDBusConnection::SessionBus, "badge-listener");
        UpdateListener listener;
        QVERIFY(listenerBus.connect(QString(), LauncherBadge::kPath,
                                    "com.canonical.Unity.LauncherEntry", "Update", &listener,
                                    SLOT(onUpdate(QDBusMessage))));
        LauncherBadge badge;
        badge.setCount(7);
        QTRY_COMPARE(listener.updates.size(), 1);
        const QDBusMessage update = listener.updates[0];
        QCOMPARE(update.signature(), u"sa{sv}"_qs);
        QCOMPARE(update.arguments()[0].toString(),
                 u"application://com.kestovar.Kestovar.desktop"_qs);
        const QVariantMap props = qdbus_cast<QVariantMap>(update.arguments()[1]);
        QCOMPARE(props["count"].typeId(), int(QMetaType::LongLong));
        QCOMPARE(props["count"].toLongLong(), 7);
        QCOMPARE(props["count-visible"].toBool(), true);

        badge.setCount(0);
        QTRY_COMPARE(listener.updates.size(), 2);
        QCOMPARE(
            qdbus_cast<QVariantMap>(listener.updates[1].arguments()[1])["count-visible"].toBool(),
            false);

        // A launcher that starts later asks.
        QDBusMessage query = QDBusMessage::createMethodCall(
            QDBusConnection::sessionBus().baseService(), LauncherBadge::kPath,
            "com.canonical.Unity.LauncherEntry", "Query");
        // Asked without blocking: the badge answers from this thread's event loop.
        QDBusPendingCall pending = listenerBus.asyncCall(query, 5000);
        QTRY_VERIFY(pending.isFinished());
        const QDBusMessage answer = pending.reply();
        QCOMPARE(answer.type(), QDBusMessage::ReplyMessage);
        QCOMPARE(answer.arguments()[0].toString(),
                 u"application://com.kestovar.Kestovar.desktop"_qs);
        QCOMPARE(qdbus_cast<QVariantMap>(answer.arguments()[1])["count"].toLongLong(), 0);
        QDBusConnection::disconnectFromBus("badge-listener");
    }

    void endToEndWithTheService() {
        Timing::current() = Timing{};
        Timing::current().sseInitialBackoff = 200ms;
        sim::SimConfig config;
        config.heartbeatMs = 100;
        sim::SimServer sim(config);
        QVERIFY(sim.start() > 0);
        qputenv(Configuration::kApiUrlVariable, sim.baseUrl().toUtf8());
        FakeNotificationServer server("org.kestovar.TestNotifications.e2e",
                                      {"actions", "body", "inline-reply"});
        QVERIFY(server.isRegistered());
        FreedesktopNotifier notifier(QDBusConnection::sessionBus(), server.serviceName());
        QTemporaryDir dir;
        QSettings settings(dir.filePath("prefs.ini"), QSettings::IniFormat);
        NotificationManager manager(&notifier, &settings);
        QNetworkAccessManager network;
        MemoryCredentialStore store;
        await(store.save(sim.apiKey()));
        AppState::Dependencies deps;
        deps.network = &network;
        deps.credentials = &store;
        deps.settings = &settings;
        deps.notifications = &manager;
        AppState state(deps);
        await(state.bootstrap());
        QTRY_VERIFY(!state.notificationsSuppressed());
        await(state.realtimeRefresh()); // detection has had its first look

        // A chat the AI was handling asks for a human; the service says so at once.
        const auto [chat, project] = sim.withData([](sim::SimData& d) {
            for (auto& c : d.conversations) {
                if (c.status == u"active" && c.projectId == u"p1") {
                    c.status = "waiting";
                    c.hasUnread = true;
                    return std::pair(c.id, c.projectId);
                }
            }
            return std::pair(QString(), QString());
        });
        QVERIFY(!chat.isEmpty());
        sim.publishEvent("conversation.escalated", project, chat,
                         {{"project_name", "Northwind Support"},
                          {"visitor_name", "Mette"},
                          {"preview", "Can a person help?"},
                          {"notify", true}});
        QTRY_COMPARE(server.calls.size(), 1);
        QCOMPARE(server.calls[0].summary, u"Northwind Support"_qs);
        QCOMPARE(server.calls[0].body, u"Mette: Can a person help?"_qs);

        // Polling finds the same escalation within 12 s: no second notification. The
        // refresh the event started has run too once a second clients list was served.
        sim.clearRequests();
        await(state.realtimeRefresh());
        QTRY_COMPARE(requestsTo(sim, "/api/v2/clients").size(), 2);
        // Barrier: a later, different notification. Notify calls arrive in the order
        // they were made, so a repeat of the first would come before it.
        const QString otherChat = sim.withData([&](sim::SimData& d) {
            for (const auto& c : d.conversations) {
                if (c.projectId == project && c.id != chat)
                    return c.id;
            }
            return QString();
        });
        sim.publishEvent("conversation.escalated", project, otherChat,
                         {{"project_name", "Marker"}, {"notify", true}});
        QTRY_COMPARE(server.calls.size(), 2);
        QCOMPARE(server.calls[1].summary, u"Marker"_qs);

        // A typed reply reaches the service as a reply to that chat.
        const QString sendTarget =
            "/api/v2/projects/" + project + "/conversations/" + chat + "/send";
        server.typeReply(server.calls[0].id, "  Yes — I'm here.  ");
        QTRY_COMPARE(requestsTo(sim, sendTarget).size(), 1);
        QVERIFY(requestsTo(sim, sendTarget)[0]["body"].toString().contains("Yes — I'm here."));

        // Events replayed after a reconnection are the catch-up: never notified.
        const int before = int(server.calls.size());
        test::LogCapture log;
        sim.dropStreams();
        QTRY_COMPARE(sim.openStreams(), 0);
        sim.publishEvent("message.received", project, chat,
                         {{"preview", "missed while away"}, {"notify", true}});
        QTRY_COMPARE(sim.streamConnections().size(), 2);
        // The replay is handled after the catch-up began (the stream posts in order);
        // then the catch-up ends.
        QTRY_VERIFY(log.messages("AppState").contains(u"realtime: message.received notify=1"_qs));
        QTRY_VERIFY(!state.notificationsSuppressed());
        // Barrier: a live event after the catch-up is notified, and it is the next one.
        sim.publishEvent("message.received", project, otherChat,
                         {{"project_name", "Live again"}, {"notify", true}});
        QTRY_COMPARE(server.calls.size(), before + 1);
        QCOMPARE(server.calls.last().summary, u"Live again"_qs);

        state.signOut();
        qunsetenv(Configuration::kApiUrlVariable);
        Timing::current() = Timing{};
    }
};

QTEST_GUILESS_MAIN(TestDesktopNotifications)
#include "tst_desktop_notifications.moc"
