// The conversations' routes: the lists, one conversation, resolving,
// sending, translating, and the event stream.

#include "SimServerImpl.h"

namespace kv::sim {

void SimServer::Impl::installConversationRoutes() {
    using httplib::Request;
    using httplib::Response;

    auto conversationList = [this](const Request& req, Response& res,
                                   const std::optional<QString>& projectId) {
        std::lock_guard lock(mutex);
        if (projectId && !data.project(*projectId))
            return sendError(res, 404, "not_found", QStringLiteral("no such agent"));
        const int asked = req.has_param("limit") ? std::stoi(req.get_param_value("limit")) : 50;
        const int limit = config.listLimit > 0 ? config.listLimit : asked;
        const QString status = q(req.get_param_value("status"));
        QList<const SimConversation*> matches;
        for (const auto& c : data.conversations) {
            if ((!projectId || c.projectId == *projectId) &&
                (status.isEmpty() || c.status == status))
                matches.append(&c);
        }
        std::stable_sort(matches.begin(), matches.end(),
                         [](auto* a, auto* b) { return a->lastMessageAt() > b->lastMessageAt(); });
        QJsonArray items;
        for (qsizetype i = 0; i < std::min<qsizetype>(limit, matches.size()); ++i)
            items.append(toJson(*matches[i]));
        sendJson(res, {{"conversations", items}});
    };
    server.Get("/api/v2/inbox", [conversationList](const Request& req, Response& res) {
        conversationList(req, res, std::nullopt);
    });
    server.Get(R"(/api/v2/projects/([^/]+)/conversations)",
               [conversationList](const Request& req, Response& res) {
                   conversationList(req, res, q(req.matches[1]));
               });

    server.Get(R"(/api/v2/projects/([^/]+)/conversations/([^/]+))",
               [this](const Request& req, Response& res) {
                   std::lock_guard lock(mutex);
                   SimConversation* c = data.conversation(q(req.matches[1]), q(req.matches[2]));
                   if (!c)
                       return sendError(res, 404, "not_found", QStringLiteral("no such chat"));
                   QJsonArray messages;
                   for (const auto& m : c->messages)
                       messages.append(toJson(m));
                   sendJson(res, {{"conversation", toJson(*c)}, {"messages", messages}});
               });

    server.Post(R"(/api/v2/projects/([^/]+)/conversations/([^/]+)/resolve)",
                [this](const Request& req, Response& res) {
                    std::lock_guard lock(mutex);
                    SimConversation* c = data.conversation(q(req.matches[1]), q(req.matches[2]));
                    if (!c)
                        return sendError(res, 404, "not_found", QStringLiteral("no such chat"));
                    c->status = QStringLiteral("resolved");
                    c->hasUnread = false;
                    sendJson(res, {{"id", c->id},
                                   {"status", c->status},
                                   {"resolved_at", wireTime(QDateTime::currentDateTimeUtc())}});
                });

    server.Post(R"(/api/v2/projects/([^/]+)/conversations/([^/]+)/send)", [this](const Request& req,
                                                                                 Response& res) {
        const auto body = jsonBody(req);
        if (!body || !body->value("text").isString() || !body->value("resolve_after").isBool())
            return sendError(res, 400, "bad_request",
                             QStringLiteral("text and resolve_after are required"));
        const QString text = body->value("text").toString();
        if (text.trimmed().isEmpty())
            return sendError(res, 400, "bad_request", QStringLiteral("empty reply"));
        std::lock_guard lock(mutex);
        SimConversation* c = data.conversation(q(req.matches[1]), q(req.matches[2]));
        if (!c)
            return sendError(res, 404, "not_found", QStringLiteral("no such chat"));
        const QDateTime now = QDateTime::currentDateTimeUtc();
        SimMessage m{data.nextId(QStringLiteral("msg_")),
                     c->id,
                     QStringLiteral("operator"),
                     text,
                     now,
                     std::nullopt,
                     std::nullopt};
        c->messages.append(m);
        c->status = body->value("resolve_after").toBool() ? QStringLiteral("resolved")
                                                          : QStringLiteral("operator_active");
        c->hasUnread = false;
        sendJson(res, {{"message", toJson(m)},
                       {"conversation_status", c->status},
                       {"conversation_last_message_at", wireTime(now)}});
    });

    server.Post("/api/v2/translate", [this](const Request& req, Response& res) {
        const auto body = jsonBody(req);
        if (!body || !body->value("text").isString() || !body->value("target").isString())
            return sendError(res, 400, "bad_request",
                             QStringLiteral("text and target are required"));
        const QString text = body->value("text").toString();
        const QString target = body->value("target").toString();
        std::lock_guard lock(mutex);
        const auto known = data.translations.value(text);
        const QString source = known.first.isEmpty() ? QStringLiteral("en") : known.first;
        QString translated;
        if (target == source)
            translated = text;
        else if (target == u"en" && !known.second.isEmpty())
            translated = known.second;
        else
            translated = QStringLiteral("[%1] %2").arg(target, text);
        sendJson(res, {{"translation", translated}, {"detected_source", source}});
    });

    server.Get("/api/v2/events",
               [this](const Request& req, Response& res) { stream.serve(req, res); });
}

} // namespace kv::sim
