#pragma once

// The realtime event stream: one long-lived connection to the service that
// turns each frame into a RealtimeEvent, reconnects by itself with a
// doubling, jittered back-off, resumes from the last event it saw, and marks
// the replay that follows every connection as a catch-up period.
//
// All work runs on the thread that owns the client (the main thread); the
// callbacks are always queued to it, never called from inside the client.

#include "Cancellation.h"
#include "ConnectionState.h"
#include "SseParser.h"
#include "records/RealtimeEvent.h"

#include <QCoroTask>
#include <QObject>

#include <functional>
#include <optional>

class QNetworkAccessManager;

namespace kv {

class SSEClient {
public:
    // The API key the signed-in REST client holds, read at every connection attempt.
    using KeyProvider = std::function<std::optional<QString>()>;

    SSEClient(QNetworkAccessManager* network, KeyProvider apiKey);
    ~SSEClient();
    SSEClient(const SSEClient&) = delete;
    SSEClient& operator=(const SSEClient&) = delete;

    std::function<void(const RealtimeEvent&)> onEvent;
    std::function<void(ConnectionState)> onStateChange;
    std::function<void()> onUnauthorized;
    std::function<void(bool)> onCatchUp;
    // Every dispatched frame before it is read as JSON (for tracing tools).
    std::function<void(const SseFrame&)> onRawFrame;

    // Starts the reconnect loop unless one was started and not stopped since.
    void start();
    // Ends the loop and any catch-up period; posts `disconnected`.
    void stop();

    bool isStarted() const { return m_run.has_value(); }
    // The connection may be dead without a sign (the machine slept, the network
    // went or changed): drop it and connect again at once, the back-off from its
    // start and the resume point kept. Posts `reconnecting`. Nothing when stopped.
    void reconnectNow();
    bool inCatchUp() const { return m_inCatchUp; }
    // The resume id sent as Last-Event-ID; kept across stop and start.
    std::optional<QString> lastEventID() const { return m_parser.resumeId(); }
    // Another account signs in next: it starts from the stream's beginning, not from
    // where the last one left off.
    void forgetResumePoint() { m_parser.setResumeId(std::nullopt); }

private:
    struct Outcome {
        enum class Kind { cleanEnd, stopLoop, failed } kind = Kind::cleanEnd;
        QString error;
    };

    QCoro::Task<> runLoop(Cancellation cancel);
    QCoro::Task<Outcome> connectAndStream(Cancellation cancel);
    void handleFrame(const SseFrame& frame);
    void beginCatchUp();
    void finishCatchUp();
    QCoro::Task<> catchUpTimer(Cancellation cancel);

    void post(std::function<void()> job);
    void emitEvent(const RealtimeEvent& event);
    void emitState(ConnectionState state);
    void emitCatchUp(bool inCatchUp);
    void emitUnauthorized();

    QNetworkAccessManager* m_network;
    KeyProvider m_apiKey;
    QObject m_mailbox; // jobs posted to the owning thread die with the client
    // Jobs carry the generation they were posted in; stop() starts a new one,
    // so nothing queued before it is delivered after it.
    quint64 m_generation = 0;
    SseParser m_parser;
    std::optional<Cancellation> m_run;
    std::optional<Cancellation> m_catchUp;
    bool m_inCatchUp = false;
};

} // namespace kv
