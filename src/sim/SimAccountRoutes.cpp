// The account's routes: who is signed in, the agents, the clients, the
// statistics and the notification preferences.

#include "SimServerImpl.h"

#include <algorithm>

namespace kv::sim {

void SimServer::Impl::installAccountRoutes() {
    using httplib::Request;
    using httplib::Response;

    server.Get("/api/v2/me", [this](const Request&, Response& res) {
        std::lock_guard lock(mutex);
        sendJson(res, toJson(data.user));
    });

    server.Get("/api/v2/projects", [this](const Request&, Response& res) {
        std::lock_guard lock(mutex);
        QJsonArray items;
        for (const auto& p : data.projects)
            items.append(toJson(p, data));
        sendJson(res, {{"projects", items}});
    });

    server.Get("/api/v2/clients", [this](const Request&, Response& res) {
        std::lock_guard lock(mutex);
        QJsonArray items;
        for (const auto& c : data.clients)
            items.append(toJson(c));
        sendJson(res, {{"clients", items}});
    });

    server.Get(R"(/api/v2/projects/([^/]+)/stats)", [this](const Request& req, Response& res) {
        std::lock_guard lock(mutex);
        const QString projectId = q(req.matches[1]);
        if (!data.project(projectId))
            return sendError(res, 404, "not_found", QStringLiteral("no such agent"));
        const int days = req.has_param("days") ? std::stoi(req.get_param_value("days")) : 30;
        sendJson(res, data.stats(projectId, std::clamp(days, 1, 365)));
    });
    server.Get("/api/v2/stats", [this](const Request& req, Response& res) {
        std::lock_guard lock(mutex);
        const int days = req.has_param("days") ? std::stoi(req.get_param_value("days")) : 30;
        sendJson(res, data.stats(QString(), std::clamp(days, 1, 365)));
    });

    server.Get("/api/v2/notification-prefs", [this](const Request&, Response& res) {
        std::lock_guard lock(mutex);
        QJsonArray items;
        for (const auto& p : data.prefs)
            items.append(toJson(p));
        sendJson(res, {{"prefs", items}});
    });
    server.Put("/api/v2/notification-prefs", [this](const Request& req, Response& res) {
        const auto body = jsonBody(req);
        if (!body || !body->value("project_id").isString() || !body->value("muted").isBool())
            return sendError(res, 400, "bad_request",
                             QStringLiteral("project_id and muted are required"));
        std::lock_guard lock(mutex);
        SimPref* pref = data.pref(body->value("project_id").toString());
        if (!pref)
            return sendError(res, 404, "not_found", QStringLiteral("no such agent"));
        pref->muted = body->value("muted").toBool();
        sendJson(res, toJson(*pref));
    });
}

} // namespace kv::sim
