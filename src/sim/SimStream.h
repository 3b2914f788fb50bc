#pragma once

// The simulated event stream: every open connection of /api/v2/events, a
// bounded history for Last-Event-ID replay, heartbeats, and the controls that
// tests use to shape what a connection receives. Thread-safe; each open
// connection is served on its own server thread.

#include <QByteArray>
#include <QJsonArray>
#include <QJsonObject>
#include <QList>
#include <QString>

#include <chrono>
#include <condition_variable>
#include <deque>
#include <functional>
#include <memory>
#include <mutex>
#include <optional>

namespace httplib {
struct Request;
struct Response;
} // namespace httplib

namespace kv::sim {

class SimStream {
public:
    static constexpr size_t kHistory = 500;

    explicit SimStream(int heartbeatMs);
    ~SimStream();

    // Answers one GET of the stream (the key is already checked).
    void serve(const httplib::Request& req, httplib::Response& res);

    // Sends an event to every open connection and keeps it for replay. Returns its id.
    QString publish(const QString& type, const QString& projectId,
                    const std::optional<QString>& conversationId, const QJsonObject& data);
    // Bytes exactly as given, chunk by chunk with a pause after each; not kept for replay.
    void pushRaw(const QList<QByteArray>& chunks, int pauseMs);
    void endAll();  // close every open stream cleanly
    void dropAll(); // cut every open stream in the middle of a frame
    // Keep every open stream open but silent, heartbeats included; after `forMs`
    // (when positive) cut it, so that a server thread is never held for good.
    void stallAll(int forMs = -1);
    void failNext(int status, int count); // answer the next connections with `status`
    void setHeartbeat(int ms);
    // Each connection received: {"last_event_id": text or null, "at_ms": since start,
    // "at_epoch_ms", "delivered_before": the id of the last whole event frame
    // written on any earlier connection, or null}.
    QJsonArray connections() const;
    // Told, on the server thread, of every event frame written whole: its id, its
    // bytes, and whether it went out after the connection's first heartbeat,
    // which is when the client's catch-up period ends.
    using DeliveryObserver =
        std::function<void(const QString& id, const QByteArray& frame, bool live)>;
    void setDeliveryObserver(DeliveryObserver observer);
    int openConnections() const;
    void shutdown();

private:
    struct Action {
        enum class Kind { bytes, end, drop, stall } kind = Kind::bytes;
        QByteArray bytes;
        int pauseMs = 0;
        QString eventId; // set on event frames, published or replayed
    };
    using SteadyClock = std::chrono::steady_clock;
    struct Connection {
        std::deque<Action> queue;
        bool stalled = false;
        SteadyClock::time_point stalledUntil = SteadyClock::time_point::max();
        bool caughtUp = false; // a heartbeat has been written
        SteadyClock::time_point lastBeat = SteadyClock::now();
    };
    void broadcast(const QList<Action>& actions);

    mutable std::mutex m_mutex;
    std::condition_variable m_wake;
    std::deque<std::pair<QString, QByteArray>> m_history; // id → frame bytes
    QList<std::shared_ptr<Connection>> m_open;
    QJsonArray m_connections;
    qint64 m_nextId = 1;
    int m_heartbeatMs;
    QString m_lastWrittenId;
    DeliveryObserver m_observer;
    int m_failStatus = 0;
    int m_failCount = 0;
    bool m_shutdown = false;
    qint64 m_startedMs;
};

} // namespace kv::sim
