// An agent's snippets: listed, created, changed and deleted.

#include "SimServerImpl.h"

namespace kv::sim {

void SimServer::Impl::installSnippetRoutes() {
    using httplib::Request;
    using httplib::Response;

    auto snippetFields = [](const Request& req) -> std::optional<QJsonObject> {
        const auto body = jsonBody(req);
        if (!body)
            return std::nullopt;
        for (const char* key : {"shortcut", "title", "body", "emoji"}) {
            if (!body->value(QLatin1StringView(key)).isString())
                return std::nullopt;
        }
        if (body->value("shortcut").toString().trimmed().isEmpty())
            return std::nullopt;
        return body;
    };
    server.Get(R"(/api/v2/projects/([^/]+)/snippets)", [this](const Request& req, Response& res) {
        std::lock_guard lock(mutex);
        const QString projectId = q(req.matches[1]);
        if (!data.project(projectId))
            return sendError(res, 404, "not_found", QStringLiteral("no such agent"));
        QJsonArray items;
        for (const auto& snippet : data.snippets.value(projectId))
            items.append(toJson(snippet));
        sendJson(res, {{"snippets", items}});
    });
    server.Post(R"(/api/v2/projects/([^/]+)/snippets)", [this, snippetFields](const Request& req,
                                                                              Response& res) {
        const auto body = snippetFields(req);
        if (!body)
            return sendError(res, 400, "bad_request",
                             QStringLiteral("shortcut, title, body and emoji are required"));
        std::lock_guard lock(mutex);
        const QString projectId = q(req.matches[1]);
        if (!data.project(projectId))
            return sendError(res, 404, "not_found", QStringLiteral("no such agent"));
        SimSnippet snippet{data.nextId(QStringLiteral("snip_")), body->value("shortcut").toString(),
                           body->value("title").toString(), body->value("body").toString(),
                           body->value("emoji").toString()};
        data.snippets[projectId].append(snippet);
        sendJson(res, toJson(snippet), 201);
    });
    server.Put(R"(/api/v2/projects/([^/]+)/snippets/([^/]+))",
               [this, snippetFields](const Request& req, Response& res) {
                   const auto body = snippetFields(req);
                   if (!body)
                       return sendError(
                           res, 400, "bad_request",
                           QStringLiteral("shortcut, title, body and emoji are required"));
                   std::lock_guard lock(mutex);
                   auto& list = data.snippets[q(req.matches[1])];
                   for (auto& snippet : list) {
                       if (snippet.id == q(req.matches[2])) {
                           snippet.shortcut = body->value("shortcut").toString();
                           snippet.title = body->value("title").toString();
                           snippet.body = body->value("body").toString();
                           snippet.emoji = body->value("emoji").toString();
                           return sendJson(res, toJson(snippet));
                       }
                   }
                   sendError(res, 404, "not_found", QStringLiteral("no such snippet"));
               });
    server.Delete(
        R"(/api/v2/projects/([^/]+)/snippets/([^/]+))", [this](const Request& req, Response& res) {
            std::lock_guard lock(mutex);
            auto& list = data.snippets[q(req.matches[1])];
            const auto removed = list.removeIf(
                [&](const SimSnippet& snippet) { return snippet.id == q(req.matches[2]); });
            if (removed == 0)
                return sendError(res, 404, "not_found", QStringLiteral("no such snippet"));
            sendJson(res, {{"ok", true}});
        });
}

} // namespace kv::sim
