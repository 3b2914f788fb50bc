#include "SimStream.h"

#include <httplib.h>

#include <QDateTime>
#include <QJsonDocument>

#include <thread>

namespace kv::sim {

SimStream::SimStream(int heartbeatMs)
    : m_heartbeatMs(heartbeatMs), m_startedMs(QDateTime::currentMSecsSinceEpoch()) {}

SimStream::~SimStream() {
    shutdown();
}

void SimStream::shutdown() {
    std::lock_guard lock(m_mutex);
    m_shutdown = true;
    m_wake.notify_all();
}

void SimStream::serve(const httplib::Request& req, httplib::Response& res) {
    auto connection = std::make_shared<Connection>();
    {
        std::lock_guard lock(m_mutex);
        const bool resuming = req.has_header("Last-Event-ID");
        const QString resumeId = QString::fromStdString(req.get_header_value("Last-Event-ID"));
        m_connections.append(QJsonObject{
            {"last_event_id", resuming ? QJsonValue(resumeId) : QJsonValue(QJsonValue::Null)},
            {"at_ms", QDateTime::currentMSecsSinceEpoch() - m_startedMs},
            {"at_epoch_ms", QDateTime::currentMSecsSinceEpoch()},
            {"delivered_before", m_lastWrittenId.isEmpty() ? QJsonValue(QJsonValue::Null)
                                                           : QJsonValue(m_lastWrittenId)}});
        if (m_failCount > 0) {
            --m_failCount;
            res.status = m_failStatus;
            res.set_content(R"({"error":"unavailable"})", "application/json");
            return;
        }
        // Replay what followed the client's last event, when it is still held.
        if (resuming) {
            auto it = std::find_if(m_history.begin(), m_history.end(),
                                   [&](const auto& entry) { return entry.first == resumeId; });
            if (it != m_history.end()) {
                for (++it; it != m_history.end(); ++it)
                    connection->queue.push_back(
                        Action{Action::Kind::bytes, it->second, 0, it->first});
            }
        }
        m_open.append(connection);
    }

    res.set_header("Cache-Control", "no-cache");
    res.set_chunked_content_provider(
        "text/event-stream",
        [this, connection](size_t, httplib::DataSink& sink) {
            std::unique_lock lock(m_mutex);
            const auto heartbeat = std::chrono::milliseconds(m_heartbeatMs);
            const auto beatDue = connection->lastBeat + heartbeat;
            const auto wakeAt = connection->stalled ? std::min(connection->stalledUntil,
                                                               SteadyClock::now() + heartbeat)
                                                    : beatDue;
            m_wake.wait_until(lock, wakeAt,
                              [&] { return m_shutdown || !connection->queue.empty(); });
            if (m_shutdown)
                return false;
            const auto now = SteadyClock::now();
            if (connection->stalled) {
                connection->queue.clear(); // silent: what was due never reaches this connection
                return now < connection->stalledUntil;
            }
            // A heartbeat goes out when the stream is idle, and also between event
            // frames once the replay is out, so that it keeps its beat while events
            // flow (never between raw chunks). The client's catch-up ends at the first.
            const bool betweenFrames =
                connection->queue.empty() ||
                (connection->caughtUp && !connection->queue.front().eventId.isEmpty());
            if (now >= beatDue && betweenFrames) {
                connection->lastBeat = now;
                connection->caughtUp = true;
                lock.unlock();
                static constexpr char beat[] = ": heartbeat\n\n";
                return sink.write(beat, sizeof beat - 1);
            }
            if (connection->queue.empty())
                return true;
            const Action action = connection->queue.front();
            connection->queue.pop_front();
            switch (action.kind) {
            case Action::Kind::end:
                lock.unlock();
                sink.done();
                return true;
            case Action::Kind::drop:
                return false;
            case Action::Kind::stall:
                connection->stalled = true;
                if (action.pauseMs > 0)
                    connection->stalledUntil = now + std::chrono::milliseconds(action.pauseMs);
                return true;
            case Action::Kind::bytes:
                break;
            }
            const bool live = connection->caughtUp;
            lock.unlock();
            if (!sink.write(action.bytes.constData(), size_t(action.bytes.size())))
                return false;
            if (!action.eventId.isEmpty()) {
                lock.lock();
                m_lastWrittenId = action.eventId;
                const DeliveryObserver observer = m_observer;
                lock.unlock();
                if (observer)
                    observer(action.eventId, action.bytes, live);
            }
            if (action.pauseMs > 0)
                std::this_thread::sleep_for(std::chrono::milliseconds(action.pauseMs));
            return true;
        },
        [this, connection](bool) {
            std::lock_guard lock(m_mutex);
            m_open.removeAll(connection);
        });
}

void SimStream::broadcast(const QList<Action>& actions) {
    for (const auto& connection : m_open) {
        for (const Action& action : actions)
            connection->queue.push_back(action);
    }
    m_wake.notify_all();
}

QString SimStream::publish(const QString& type, const QString& projectId,
                           const std::optional<QString>& conversationId, const QJsonObject& data) {
    std::lock_guard lock(m_mutex);
    const QString id = QString::number(m_nextId++);
    QJsonObject envelope{{"id", id}, {"type", type}, {"data", data}};
    if (!projectId.isEmpty())
        envelope.insert("project_id", projectId);
    if (conversationId)
        envelope.insert("conversation_id", *conversationId);
    const QByteArray frame = "id: " + id.toUtf8() + "\nevent: " + type.toUtf8() +
                             "\ndata: " + QJsonDocument(envelope).toJson(QJsonDocument::Compact) +
                             "\n\n";
    m_history.emplace_back(id, frame);
    while (m_history.size() > kHistory)
        m_history.pop_front();
    broadcast({Action{Action::Kind::bytes, frame, 0, id}});
    return id;
}

void SimStream::pushRaw(const QList<QByteArray>& chunks, int pauseMs) {
    std::lock_guard lock(m_mutex);
    QList<Action> actions;
    for (const QByteArray& chunk : chunks)
        actions.append(Action{Action::Kind::bytes, chunk, pauseMs, {}});
    broadcast(actions);
}

void SimStream::endAll() {
    std::lock_guard lock(m_mutex);
    broadcast({Action{Action::Kind::end, {}, 0, {}}});
}

void SimStream::dropAll() {
    std::lock_guard lock(m_mutex);
    broadcast({Action{Action::Kind::bytes, "id: cut\ndata: {\"id\":\"cut\",\"ty", 0, {}},
               Action{Action::Kind::drop, {}, 0, {}}});
}

void SimStream::stallAll(int forMs) {
    std::lock_guard lock(m_mutex);
    broadcast({Action{Action::Kind::stall, {}, forMs, {}}});
}

void SimStream::failNext(int status, int count) {
    std::lock_guard lock(m_mutex);
    m_failStatus = status;
    m_failCount = count;
}

void SimStream::setHeartbeat(int ms) {
    std::lock_guard lock(m_mutex);
    m_heartbeatMs = std::max(10, ms);
    m_wake.notify_all();
}

void SimStream::setDeliveryObserver(DeliveryObserver observer) {
    std::lock_guard lock(m_mutex);
    m_observer = std::move(observer);
}

QJsonArray SimStream::connections() const {
    std::lock_guard lock(m_mutex);
    return m_connections;
}

int SimStream::openConnections() const {
    std::lock_guard lock(m_mutex);
    return int(m_open.size());
}

} // namespace kv::sim
