// The live visitors' routes, of every agent and of one.

#include "SimServerImpl.h"

namespace kv::sim {

void SimServer::Impl::installVisitorRoutes() {
    using httplib::Request;
    using httplib::Response;

    auto visitorList = [this](Response& res, const std::optional<QString>& projectId) {
        std::lock_guard lock(mutex);
        if (projectId && !data.project(*projectId))
            return sendError(res, 404, "not_found", QStringLiteral("no such agent"));
        QJsonArray items;
        for (const auto& v : data.visitors) {
            if (!projectId || v.projectId == *projectId)
                items.append(toJson(v));
        }
        sendJson(res, {{"visitors", items}});
    };
    server.Get("/api/v2/visitors/live",
               [visitorList](const Request&, Response& res) { visitorList(res, std::nullopt); });
    server.Get(
        R"(/api/v2/projects/([^/]+)/visitors/live)",
        [visitorList](const Request& req, Response& res) { visitorList(res, q(req.matches[1])); });
}

} // namespace kv::sim
