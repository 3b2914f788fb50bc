#pragma once

// The simulated service over real HTTP on a loopback address: every REST
// endpoint, the browser sign-in pages and the code exchange, plus test
// control under /_sim/ (recorded requests, injected faults, approvals).
// Runs its own threads; usable in-process or from the kestovar-sim executable.

#include "SimData.h"
#include "SimFault.h"
#include "SimStream.h"

#include <QByteArray>
#include <QJsonArray>
#include <QString>

#include <memory>
#include <mutex>

namespace kv::sim {

struct SimConfig {
    SimOptions data;
    QString apiKey = QStringLiteral("sim-demo-key");
    int heartbeatMs = 15'000;
    // Scenario clock: 0 keeps the account still; 1 makes something happen every few seconds.
    double speed = 0;
    // Conversation lists hold at most this many whatever the client asks (load tests); 0: as asked.
    int listLimit = 0;
    // Every text of the account hostile (see SimHostile.h), its images pointing under `beacon`.
    bool hostile = false;
    QString beacon = QStringLiteral("http://127.0.0.1:9");
};

class SimServer {
public:
    explicit SimServer(SimConfig config = {});
    ~SimServer();
    SimServer(const SimServer&) = delete;
    SimServer& operator=(const SimServer&) = delete;

    // Listens on 127.0.0.1 (port 0: any free one). Returns the port, or -1.
    int start(int port = 0);
    void stop();

    int port() const;
    QString baseUrl() const;
    QString apiKey() const;

    // The one-time code the browser would carry back for this sign-in state.
    QString approve(const QString& state);
    void acceptKey(const QString& key, bool accepted = true);

    // Every request received outside /_sim/, oldest first, as JSON objects
    // with "method", "target" (path and query as sent), "path", "headers" and "body".
    QJsonArray requests() const;
    void clearRequests();
    // "METHOD target" of every request outside /_sim/ as it arrived, before any
    // fault or delay: shows what is in flight before it is answered.
    QStringList arrivals() const;
    void addFault(const Fault& fault);
    void clearFaults();

    // The event stream.
    // Publishes an event (id assigned, kept for replay) to every open stream; returns its id.
    QString publishEvent(const QString& type, const QString& projectId,
                         const std::optional<QString>& conversationId, const QJsonObject& data);
    void pushRawStream(const QList<QByteArray>& chunks, int pauseMs = 0);
    void endStreams();
    void dropStreams();
    // Silent but open; cut after `forMs` when positive.
    void stallStreams(int forMs = -1);
    void failNextStreams(int status, int count);
    void setHeartbeatInterval(int ms);
    // See SimStream::setDeliveryObserver.
    void setStreamDeliveryObserver(SimStream::DeliveryObserver observer);
    // {"last_event_id", "at_ms", "delivered_before"} of every stream connection
    // received, oldest first.
    QJsonArray streamConnections() const;
    int openStreams() const;
    void setScenarioSpeed(double speed);

    // Runs `f` with the data under the server's lock.
    template <typename F>
    auto withData(F f) {
        auto lock = lockData();
        return f(data());
    }

private:
    struct Impl;
    std::unique_lock<std::mutex> lockData();
    SimData& data();
    std::unique_ptr<Impl> d;
};

} // namespace kv::sim
