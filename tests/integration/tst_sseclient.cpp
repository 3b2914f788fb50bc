// The stream client against the simulated stream over loopback: connection,
// resumption, back-off, catch-up, the watchdog and stopping. Delays are
// shortened through Timing; nothing sleeps for the real durations.

#include "LogCapture.h"
#include "SimServer.h"
#include "Timing.h"
#include "service/Configuration.h"
#include "service/SseClient.h"

#include <QDateTime>
#include <QNetworkAccessManager>
#include <QNetworkReply>
#include <QTcpServer>
#include <QTcpSocket>
#include <QTest>

using namespace kv;
using namespace std::chrono_literals;
using kv::sim::SimServer;

namespace {

// Everything the client posted, in order, with when it arrived.
struct Recorder {
    QList<RealtimeEvent> events;
    QList<ConnectionState> states;
    QList<qint64> reconnectingAt;
    QList<bool> catchUps;
    QList<qint64> catchUpAt;
    int unauthorized = 0;

    void attach(SSEClient& client) {
        client.onEvent = [this](const RealtimeEvent& e) { events.append(e); };
        client.onStateChange = [this](ConnectionState s) {
            states.append(s);
            if (s == ConnectionState::reconnecting)
                reconnectingAt.append(QDateTime::currentMSecsSinceEpoch());
        };
        client.onCatchUp = [this](bool on) {
            catchUps.append(on);
            catchUpAt.append(QDateTime::currentMSecsSinceEpoch());
        };
        client.onUnauthorized = [this] { ++unauthorized; };
    }
};

} // namespace

class TestSseClient : public QObject {
    Q_OBJECT

    std::unique_ptr<SimServer> sim;
    std::unique_ptr<QNetworkAccessManager> network;
    std::optional<QString> key;
    std::unique_ptr<SSEClient> client;
    Recorder record;
    int probes = 0;

    void startSim(int heartbeatMs) {
        sim::SimConfig config;
        config.heartbeatMs = heartbeatMs;
        sim = std::make_unique<SimServer>(config);
        QVERIFY(sim->start() > 0);
        qputenv(Configuration::kApiUrlVariable, sim->baseUrl().toUtf8());
    }

    QJsonArray connections() const { return sim->streamConnections(); }

    // The barrier before a check that the client did nothing more: a request
    // sent now, on the client's own network access manager, has reached the
    // service. Whatever the client had due by now was sent before it.
    void serviceHasSeenAllThatWasDue() {
        const QString probe = u"GET /_probe/"_qs + QString::number(++probes);
        std::unique_ptr<QNetworkReply> reply(
            network->get(QNetworkRequest(QUrl(sim->baseUrl() + probe.mid(4)))));
        QTRY_VERIFY(sim->arrivals().contains(probe));
    }

private slots:
    void init() {
        Timing& t = Timing::current();
        t = Timing{};
        t.sseInitialBackoff = 40ms;
        t.sseMaxBackoff = 320ms;
        t.sseJitterMax = 0ms;
        t.sseCatchUp = 400ms;
        t.sseWatchdog = 2000ms;
        startSim(10'000);
        network = std::make_unique<QNetworkAccessManager>();
        key = sim->apiKey();
        client = std::make_unique<SSEClient>(network.get(), [this] { return key; });
        record = Recorder{};
        record.attach(*client);
        probes = 0;
    }

    void cleanup() {
        client.reset();
        network.reset();
        sim.reset();
        Timing::current() = Timing{};
        qunsetenv(Configuration::kApiUrlVariable);
    }

    void deliversEventsFromTheStream() {
        test::LogCapture log;
        client->start();
        QTRY_COMPARE(sim->openStreams(), 1);
        QTRY_VERIFY(record.states.contains(ConnectionState::connected));
        sim->publishEvent("conversation.escalated", "p1", u"conv_1"_qs,
                          {{"project_name", "Northwind Support"},
                           {"visitor_name", "Mette"},
                           {"preview", "Can I talk to someone?"},
                           {"notify", true}});
        QTRY_COMPARE(record.events.size(), 1);
        const RealtimeEvent& e = record.events[0];
        QCOMPARE(e.kind, RealtimeEvent::Kind::escalated);
        QCOMPARE(e.title, u"Northwind Support"_qs);
        QCOMPARE(e.body, u"Mette: Can I talk to someone?"_qs);
        QCOMPARE(e.conversationID, std::optional<QString>(u"conv_1"_qs));
        QVERIFY(e.notify);
        QCOMPARE(client->lastEventID(), std::optional<QString>(u"1"_qs));

        const QJsonObject request = sim->requests().last().toObject();
        QCOMPARE(request["target"].toString(), u"/api/v2/events"_qs);
        const QJsonObject headers = request["headers"].toObject();
        QCOMPARE(headers["authorization"].toString(), "Bearer " + sim->apiKey());
        QCOMPARE(headers["accept"].toString(), u"text/event-stream"_qs);
        QCOMPARE(headers["accept-encoding"].toString(), u"identity"_qs);
        QCOMPARE(headers["user-agent"].toString(), Configuration::userAgent());
        QVERIFY(!headers.contains("last-event-id"));
        QCOMPARE(log.messages("SSEClient").mid(0, 2), (QStringList{"SSE start", "SSE connected"}));

        sim->pushRawStream({"event: odd\ndata: not json\n\n"});
        QTRY_VERIFY(log.messages("SSEClient").contains(u"SSE: undecodable frame (event=odd)"_qs));
        QCOMPARE(record.events.size(), 1);
    }

    void resumesFromTheLastDispatchedFrame() {
        test::LogCapture log;
        Timing::current().sseInitialBackoff = 300ms;
        client->start();
        QTRY_COMPARE(sim->openStreams(), 1);
        sim->publishEvent("message.received", "p1", u"c1"_qs, {{"preview", "one"}});
        QTRY_COMPARE(record.events.size(), 1);
        // The stream dies inside a frame that carries its own id: that id must not count.
        sim->dropStreams();
        QTRY_VERIFY(record.states.contains(ConnectionState::reconnecting));
        QTRY_COMPARE(sim->openStreams(), 0);
        sim->publishEvent("message.received", "p1", u"c1"_qs, {{"preview", "missed"}});

        QTRY_COMPARE(connections().size(), 2);
        QCOMPARE(connections()[1].toObject()["last_event_id"].toString(), u"1"_qs);
        QTRY_COMPARE(record.events.size(), 2); // replayed
        QCOMPARE(record.events[1].body, u"missed"_qs);
        QVERIFY(log.messages("SSEClient").contains(u"SSE connected (resuming)"_qs));
        QVERIFY(log.messages("SSEClient").filter("SSE stream ended: ").size() == 1);

        // The resume id outlives stop and start.
        client->stop();
        client->start();
        QTRY_COMPARE(connections().size(), 3);
        QCOMPARE(connections()[2].toObject()["last_event_id"].toString(), u"2"_qs);
    }

    void emptyResumeIdIsSentAsAnEmptyValue() {
        client->start();
        QTRY_COMPARE(sim->openStreams(), 1);
        QVERIFY(connections()[0].toObject()["last_event_id"].isNull()); // nothing to resume
        sim->pushRawStream({"id\n\n"}); // an empty id is still an id
        QTRY_COMPARE(client->lastEventID(), std::optional<QString>(u""_qs));
        client->stop();

        // The simulated service's HTTP library drops empty headers, so the request is
        // read as it arrives on a plain socket.
        QTcpServer raw;
        QVERIFY(raw.listen(QHostAddress::LocalHost));
        QByteArray received;
        connect(&raw, &QTcpServer::newConnection, this, [&] {
            QTcpSocket* socket = raw.nextPendingConnection();
            connect(socket, &QTcpSocket::readyRead, this,
                    [&, socket] { received += socket->readAll(); });
        });
        qputenv(Configuration::kApiUrlVariable,
                QByteArray("http://127.0.0.1:") + QByteArray::number(raw.serverPort()));
        client->start();
        QTRY_VERIFY(received.contains("\r\n\r\n"));
        QVERIFY2(received.contains("\r\nLast-Event-ID: \r\n"), received.constData());
    }

    void backoffDoublesUpToTheCap() {
        test::LogCapture log;
        Timing::current().sseInitialBackoff = 60ms;
        Timing::current().sseMaxBackoff = 480ms;
        sim->failNextStreams(503, 6);
        client->start();
        QTRY_COMPARE_WITH_TIMEOUT(connections().size(), 7, 8000);
        QTRY_COMPARE(record.reconnectingAt.size(), 6);
        // Each wait runs from the `reconnecting` post to the next attempt:
        // about 60, 120, 240, 480, 480, 480 ms.
        QList<qint64> waits;
        QStringList shown;
        for (qsizetype i = 0; i < 6; ++i) {
            waits.append(connections()[i + 1].toObject()["at_epoch_ms"].toInteger() -
                         record.reconnectingAt[i]);
            shown.append(QString::number(waits.last()));
        }
        for (qsizetype i = 0; i < 3; ++i) {
            const double ratio = double(waits[i + 1]) / double(std::max<qint64>(waits[i], 1));
            QVERIFY2(ratio > 1.5 && ratio < 2.7, qPrintable(shown.join(' ')));
        }
        for (qsizetype i = 3; i < 6; ++i)
            QVERIFY2(waits[i] >= 440 && waits[i] < 600, qPrintable(shown.join(' ')));
        const QStringList lines = log.messages("SSEClient");
        QCOMPARE(lines.count(u"SSE: HTTP 503 — will retry"_qs), 6);
        QCOMPARE(lines.count(u"SSE stream ended: bad server response"_qs), 6);
        QTRY_COMPARE(sim->openStreams(), 1); // the seventh is served
    }

    void cleanEndResetsTheBackoff() {
        Timing::current().sseInitialBackoff = 100ms;
        Timing::current().sseMaxBackoff = 2000ms;
        sim->failNextStreams(503, 3); // back-off grows to 800 ms
        client->start();
        QTRY_COMPARE_WITH_TIMEOUT(sim->openStreams(), 1, 5000);
        const qint64 endedAt = QDateTime::currentMSecsSinceEpoch();
        sim->endStreams();
        QTRY_COMPARE(connections().size(), 5);
        const qint64 wait = connections()[4].toObject()["at_epoch_ms"].toInteger() - endedAt;
        QVERIFY2(wait < 400, qPrintable(QString::number(wait))); // 100 ms, not 1.6 s
    }

    void rejectedKeyStopsForGood() {
        test::LogCapture log;
        sim->failNextStreams(401, 1);
        client->start();
        QTRY_COMPARE(record.unauthorized, 1);
        QTRY_VERIFY(record.states.contains(ConnectionState::disconnected));
        QTest::qWait(300); // several back-off periods
        serviceHasSeenAllThatWasDue();
        QCOMPARE(connections().size(), 1);
        QCOMPARE(record.unauthorized, 1);
        QVERIFY(log.messages("SSEClient").contains(u"SSE: 401 — signing out"_qs));

        client->start(); // still counts as started until stopped
        QTest::qWait(100);
        serviceHasSeenAllThatWasDue();
        QCOMPARE(connections().size(), 1);
        client->stop();
        client->start();
        QTRY_COMPARE(sim->openStreams(), 1);
    }

    void noKeyNoConnection() {
        test::LogCapture log;
        key.reset();
        client->start();
        QTRY_COMPARE(record.unauthorized, 1);
        QVERIFY(log.messages("SSEClient").contains(u"SSE: no credential — not connecting"_qs));
        QTest::qWait(150);
        serviceHasSeenAllThatWasDue();
        QVERIFY(connections().isEmpty());
        QCOMPARE(sim->arrivals(), QStringList{u"GET /_probe/1"_qs});
    }

    void catchUpEndsAtFirstHeartbeat() {
        Timing::current().sseCatchUp = 5000ms;
        sim->setHeartbeatInterval(100);
        QElapsedTimer clock;
        clock.start();
        client->start();
        QTRY_COMPARE(record.catchUps, (QList<bool>{true, false}));
        QVERIFY(clock.elapsed() < 2000);
        QVERIFY(!client->inCatchUp());
    }

    void catchUpEndsByTimerWithoutHeartbeat() {
        client->start();
        QTRY_COMPARE(record.catchUps, (QList<bool>{true}));
        QVERIFY(client->inCatchUp());
        QTRY_COMPARE(record.catchUps, (QList<bool>{true, false})); // after 400 ms
        QVERIFY(!client->inCatchUp());
        // Never early: the service saw the request before the client's wait began.
        const qint64 waited =
            record.catchUpAt[1] - connections()[0].toObject()["at_epoch_ms"].toInteger();
        QVERIFY2(waited >= 400, qPrintable(QString::number(waited)));
    }

    void backoffWaitsAreNeverShort() {
        // The real jitter, and waits long enough that a timer firing 5 % early would show.
        Timing::current().sseJitterMax = Timing{}.sseJitterMax;
        Timing::current().sseInitialBackoff = 400ms;
        Timing::current().sseMaxBackoff = 1600ms;
        sim->failNextStreams(503, 3);
        client->start();
        QTRY_COMPARE_WITH_TIMEOUT(connections().size(), 4, 20'000);
        // Between two attempts the service sees the answer, the back-off, the jitter and
        // the new connection go by: never less than the back-off.
        const qint64 backoff[] = {400, 800, 1600};
        QStringList shown;
        for (qsizetype i = 0; i < 3; ++i) {
            const qint64 gap = connections()[i + 1].toObject()["at_epoch_ms"].toInteger() -
                               connections()[i].toObject()["at_epoch_ms"].toInteger();
            shown.append(QString::number(gap));
            QVERIFY2(gap >= backoff[i], qPrintable(shown.join(' ')));
        }
    }

    void silentStreamIsNoticed() {
        test::LogCapture log;
        // Ten heartbeats to a watchdog period: a busy machine that delays a few
        // does not make the live stream look dead.
        Timing::current().sseWatchdog = 1000ms;
        sim->setHeartbeatInterval(100);
        client->start();
        QTRY_COMPARE(sim->openStreams(), 1);
        QTest::qWait(1500); // heartbeats keep a live stream alive past the watchdog period
        // An event published now reaches the client on the stream it has: had the
        // watchdog cut it, the event would come on a second connection.
        sim->publishEvent("message.received", "p1", u"c1"_qs, {{"preview", "still here"}});
        QTRY_COMPARE(record.events.size(), 1);
        QCOMPARE(connections().size(), 1);

        sim->stallStreams();
        QTRY_COMPARE(connections().size(), 2);
        QVERIFY(log.messages("SSEClient").contains(u"SSE stream ended: no data for 1000 ms"_qs));
        QVERIFY(record.states.contains(ConnectionState::reconnecting));
    }

    void stopDuringBackoffEndsTheLoop() {
        // A back-off long enough that no attempt can begin before stop(), even on a busy machine.
        Timing::current().sseInitialBackoff = 1000ms;
        sim->failNextStreams(503, 100);
        client->start();
        QTRY_VERIFY(record.states.contains(ConnectionState::reconnecting));
        client->stop();
        QTRY_COMPARE(record.states.last(), ConnectionState::disconnected);
        QTest::qWait(1600); // well past the back-off
        serviceHasSeenAllThatWasDue();
        QCOMPARE(connections().size(), 1);
        QVERIFY(!client->isStarted());
    }

    void stopClosesTheConnection() {
        sim->setHeartbeatInterval(50);
        client->start();
        QTRY_COMPARE(sim->openStreams(), 1);
        client->stop();
        // The service notices at its next heartbeat that nobody listens any more.
        QTRY_COMPARE(sim->openStreams(), 0);
        QCOMPARE(connections().size(), 1);
    }

    void nothingQueuedBeforeStopArrivesAfterIt() {
        Timing::current().sseCatchUp = 10'000ms;
        client->onEvent = [this](const RealtimeEvent& e) {
            record.events.append(e);
            client->stop(); // the owner signs out while handling the first event
        };
        client->start();
        QTRY_COMPARE(sim->openStreams(), 1);
        QTRY_COMPARE(record.catchUps, (QList<bool>{true}));
        // Two events and a heartbeat in one read: their callbacks are queued together.
        const QByteArray frame = R"({"id":"e","type":"message.received","project_id":"p1"})";
        sim->pushRawStream({"id: 7\ndata: " + frame + "\n\n:\n\nid: 8\ndata: " + frame + "\n\n"});
        QTRY_COMPARE(record.states.last(), ConnectionState::disconnected); // posted by stop()
        QCOMPARE(record.events.size(), 1);
        QCOMPARE(record.catchUps, (QList<bool>{true}));
    }

    void oversizedLineEndsTheConnection() {
        test::LogCapture log;
        client->start();
        QTRY_COMPARE(sim->openStreams(), 1);
        sim->pushRawStream({"data: " + QByteArray(SseParser::kMaxLine + 10, 'x')});
        QTRY_COMPARE(connections().size(), 2);
        QVERIFY(log.messages("SSEClient")
                    .contains(u"SSE stream ended: event stream line longer than 1048576 bytes"_qs));
    }

    void destroyedWhileWaitingOrStreaming() {
        sim->setHeartbeatInterval(50);
        client->start();
        QTRY_COMPARE(sim->openStreams(), 1);
        client.reset(); // streaming: the connection goes with it
        QTRY_COMPARE(sim->openStreams(), 0);

        auto second = std::make_unique<SSEClient>(network.get(), [this] { return key; });
        sim->failNextStreams(503, 1);
        second->start();
        QTRY_COMPARE(connections().size(), 2);
        second.reset(); // waiting out a 40 ms back-off: the interrupted wait resumes without it

        // Barrier: a third client waits out the same back-off and then connects. The
        // destroyed one would have tried again by then.
        auto third = std::make_unique<SSEClient>(network.get(), [this] { return key; });
        sim->failNextStreams(503, 1);
        third->start();
        QTRY_COMPARE(sim->openStreams(), 1);
        QCOMPARE(connections().size(), 4); // first, second's refusal, third's refusal and stream
    }
};

QTEST_GUILESS_MAIN(TestSseClient)
#include "tst_sseclient.moc"
