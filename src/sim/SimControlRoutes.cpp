// The tests' control routes (/_sim/…), from loopback only.

#include "SimServerImpl.h"

namespace kv::sim {

void SimServer::Impl::installControlRoutes() {
    using httplib::Request;
    using httplib::Response;

    server.Get("/_sim/requests", [this](const Request&, Response& res) {
        std::lock_guard lock(mutex);
        sendJson(res, {{"requests", requests}});
    });
    server.Delete("/_sim/requests", [this](const Request&, Response& res) {
        std::lock_guard lock(mutex);
        requests = QJsonArray();
        sendJson(res, {{"ok", true}});
    });
    server.Post("/_sim/faults", [this](const Request& req, Response& res) {
        const auto body = jsonBody(req);
        QString error = QStringLiteral("body must be a JSON object");
        const auto fault = body ? Fault::fromJson(*body, &error) : std::nullopt;
        if (!fault)
            return sendError(res, 400, "bad_request", error);
        std::lock_guard lock(mutex);
        faults.append(*fault);
        sendJson(res, {{"ok", true}});
    });
    server.Delete("/_sim/faults", [this](const Request&, Response& res) {
        std::lock_guard lock(mutex);
        faults.clear();
        sendJson(res, {{"ok", true}});
    });
    server.Post("/_sim/approve", [this](const Request& req, Response& res) {
        const QString state = q(req.get_param_value("state"));
        if (state.isEmpty())
            return sendError(res, 400, "bad_request", QStringLiteral("state is required"));
        std::lock_guard lock(mutex);
        sendJson(res, {{"code", mintCode(state)}, {"state", state}});
    });
    server.Post("/_sim/events", [this](const Request& req, Response& res) {
        const auto body = jsonBody(req);
        if (!body || !body->value("type").isString())
            return sendError(res, 400, "bad_request", QStringLiteral("type is required"));
        const QJsonValue conversation = body->value("conversation_id");
        const QString id = stream.publish(
            body->value("type").toString(), body->value("project_id").toString(),
            conversation.isString() ? std::optional(conversation.toString()) : std::nullopt,
            body->value("data").toObject());
        sendJson(res, {{"id", id}});
    });
    server.Post("/_sim/stream/raw", [this](const Request& req, Response& res) {
        const auto body = jsonBody(req);
        if (!body || !body->value("chunks").isArray())
            return sendError(res, 400, "bad_request", QStringLiteral("chunks is required"));
        QList<QByteArray> chunks;
        for (const QJsonValue& chunk : body->value("chunks").toArray()) {
            chunks.append(body->value("base64").toBool()
                              ? QByteArray::fromBase64(chunk.toString().toLatin1())
                              : chunk.toString().toUtf8());
        }
        stream.pushRaw(chunks, body->value("pause_ms").toInt(0));
        sendJson(res, {{"ok", true}});
    });
    server.Post(R"(/_sim/stream/(end|drop|stall))", [this](const Request& req, Response& res) {
        if (req.matches[1] == "end")
            stream.endAll();
        else if (req.matches[1] == "drop")
            stream.dropAll();
        else
            stream.stallAll();
        sendJson(res, {{"ok", true}});
    });
    server.Post("/_sim/stream/fail", [this](const Request& req, Response& res) {
        const auto body = jsonBody(req);
        if (!body || !body->value("status").isDouble())
            return sendError(res, 400, "bad_request", QStringLiteral("status is required"));
        stream.failNext(body->value("status").toInt(), body->value("count").toInt(1));
        sendJson(res, {{"ok", true}});
    });
    server.Post("/_sim/stream/heartbeat", [this](const Request& req, Response& res) {
        const auto body = jsonBody(req);
        if (!body || !body->value("ms").isDouble())
            return sendError(res, 400, "bad_request", QStringLiteral("ms is required"));
        stream.setHeartbeat(body->value("ms").toInt());
        sendJson(res, {{"ok", true}});
    });
    server.Get("/_sim/stream/connections", [this](const Request&, Response& res) {
        sendJson(res, {{"connections", stream.connections()}, {"open", stream.openConnections()}});
    });
    server.Post("/_sim/scenario", [this](const Request& req, Response& res) {
        const auto body = jsonBody(req);
        if (body && body->value("step").toBool())
            scenario.step();
        if (body && body->value("speed").isDouble())
            scenario.setSpeed(body->value("speed").toDouble());
        sendJson(res, {{"ok", true}});
    });
    server.Post("/_sim/keys", [this](const Request& req, Response& res) {
        const auto body = jsonBody(req);
        if (!body || !body->value("key").isString())
            return sendError(res, 400, "bad_request", QStringLiteral("key is required"));
        std::lock_guard lock(mutex);
        if (body->value("accept").toBool(true))
            acceptedKeys.insert(body->value("key").toString());
        else
            acceptedKeys.remove(body->value("key").toString());
        sendJson(res, {{"ok", true}});
    });
}

} // namespace kv::sim
