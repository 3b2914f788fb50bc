#include "SimServer.h"

#include "SimHostile.h"
#include "SimScenario.h"
#include "SimStream.h"

#include <httplib.h>

#include <QJsonDocument>
#include <QRandomGenerator>
#include <QUrl>

#include <algorithm>
#include <thread>

namespace kv::sim {

namespace {

constexpr char kJsonType[] = "application/json; charset=utf-8";
constexpr char kHtmlType[] = "text/html; charset=utf-8";
constexpr char kMistypeMark[] = "X-Sim-Mistype";

QString q(const std::string& s) {
    return QString::fromUtf8(s.data(), qsizetype(s.size()));
}

std::string s(const QString& q) {
    return q.toUtf8().toStdString();
}

void sendJson(httplib::Response& res, const QJsonObject& body, int status = 200) {
    res.status = status;
    res.set_content(QJsonDocument(body).toJson(QJsonDocument::Compact).toStdString(), kJsonType);
}

void sendError(httplib::Response& res, int status, const char* code, const QString& message) {
    sendJson(res, QJsonObject{{"error", QLatin1StringView(code)}, {"message", message}}, status);
}

QString htmlEscape(const QString& text) {
    return text.toHtmlEscaped();
}

void sendPage(httplib::Response& res, const QString& title, const QString& bodyHtml) {
    const QString page =
        QStringLiteral("<!doctype html><html><head><meta charset=\"utf-8\"><title>%1</title>"
                       "<style>body{font-family:sans-serif;max-width:36em;margin:4em auto;"
                       "color:#1f2933}a.button{display:inline-block;padding:.6em 1.4em;"
                       "background:#2F6FEB;color:#fff;border-radius:6px;text-decoration:none}"
                       "</style></head><body><h1>%1</h1>%2</body></html>")
            .arg(htmlEscape(title), bodyHtml);
    res.set_content(s(page), kHtmlType);
}

bool isLoopback(const std::string& address) {
    return address.rfind("127.", 0) == 0 || address == "::1" ||
           address.rfind("::ffff:127.", 0) == 0;
}

std::optional<QJsonObject> jsonBody(const httplib::Request& req) {
    QJsonParseError error;
    const QJsonDocument doc = QJsonDocument::fromJson(QByteArray::fromStdString(req.body), &error);
    if (error.error != QJsonParseError::NoError || !doc.isObject())
        return std::nullopt;
    return doc.object();
}

QString randomToken(int bytes) {
    QByteArray raw(bytes, Qt::Uninitialized);
    QRandomGenerator::system()->fillRange(reinterpret_cast<quint32*>(raw.data()), bytes / 4);
    return QString::fromLatin1(raw.toHex());
}

const char* northwindLogo =
    R"(<svg xmlns="http://www.w3.org/2000/svg" viewBox="0 0 64 64"><rect width="64" height="64" rx="14" fill="#2F6FEB"/><path d="M16 46V18l32 28V18" stroke="#fff" stroke-width="6" fill="none" stroke-linejoin="round"/></svg>)";
const char* bergmannLogo =
    R"(<svg xmlns="http://www.w3.org/2000/svg" viewBox="0 0 64 64"><rect width="64" height="64" rx="14" fill="#4A5568"/><path d="M10 48l16-26 10 16 6-8 12 18z" fill="#fff"/></svg>)";

} // namespace

struct SimServer::Impl {
    explicit Impl(SimConfig c)
        : config(std::move(c)), data(config.data), stream(config.heartbeatMs),
          scenario(mutex, data, stream, config.data.seed) {
        acceptedKeys.insert(config.apiKey);
        if (config.hostile)
            makeHostile(data, config.beacon);
    }

    SimConfig config;
    mutable std::mutex mutex; // guards everything below
    SimData data;
    QSet<QString> acceptedKeys;
    QHash<QString, QString> pendingCodes; // code → state
    QJsonArray requests;
    QStringList arrivals;
    QList<Fault> faults;
    SimStream stream;     // has its own lock
    SimScenario scenario; // takes `mutex`, then the stream's

    httplib::Server server;
    std::thread thread;
    int port = -1;

    void installRoutes();
    void installApiRoutes();
    void installSignInRoutes();
    void installPages();
    void installControlRoutes();
    std::optional<Fault> takeFault(const httplib::Request& req);
    void record(const httplib::Request& req);
    bool authorised(const httplib::Request& req);
    QString mintCode(const QString& state);
};

SimServer::SimServer(SimConfig config) : d(std::make_unique<Impl>(std::move(config))) {
    // Every open event stream holds a thread.
    d->server.new_task_queue = [] { return new httplib::ThreadPool(32); };
    d->server.set_tcp_nodelay(true);
    d->server.set_keep_alive_max_count(1000);
    d->installRoutes();
}

SimServer::~SimServer() {
    stop();
}

int SimServer::start(int port) {
    if (d->thread.joinable())
        return d->port;
    d->port = port == 0 ? d->server.bind_to_any_port("127.0.0.1")
                        : (d->server.bind_to_port("127.0.0.1", port) ? port : -1);
    if (d->port < 0)
        return -1;
    d->scenario.setSpeed(d->config.speed);
    d->thread = std::thread([this] { d->server.listen_after_bind(); });
    // The socket already listens; wait only until the accept loop runs so stop() is safe.
    while (!d->server.is_running())
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
    return d->port;
}

void SimServer::stop() {
    d->scenario.setSpeed(0);
    if (!d->thread.joinable())
        return;
    d->stream.shutdown(); // open streams end, so their threads can be joined
    d->server.stop();
    d->thread.join();
}

int SimServer::port() const {
    return d->port;
}

QString SimServer::baseUrl() const {
    return QStringLiteral("http://127.0.0.1:%1").arg(d->port);
}

QString SimServer::apiKey() const {
    return d->config.apiKey;
}

QString SimServer::approve(const QString& state) {
    std::lock_guard lock(d->mutex);
    return d->mintCode(state);
}

void SimServer::acceptKey(const QString& key, bool accepted) {
    std::lock_guard lock(d->mutex);
    if (accepted)
        d->acceptedKeys.insert(key);
    else
        d->acceptedKeys.remove(key);
}

QJsonArray SimServer::requests() const {
    std::lock_guard lock(d->mutex);
    return d->requests;
}

void SimServer::clearRequests() {
    std::lock_guard lock(d->mutex);
    d->requests = QJsonArray();
    d->arrivals.clear();
}

QStringList SimServer::arrivals() const {
    std::lock_guard lock(d->mutex);
    return d->arrivals;
}

void SimServer::addFault(const Fault& fault) {
    std::lock_guard lock(d->mutex);
    d->faults.append(fault);
}

void SimServer::clearFaults() {
    std::lock_guard lock(d->mutex);
    d->faults.clear();
}

QString SimServer::publishEvent(const QString& type, const QString& projectId,
                                const std::optional<QString>& conversationId,
                                const QJsonObject& data) {
    return d->stream.publish(type, projectId, conversationId, data);
}

void SimServer::pushRawStream(const QList<QByteArray>& chunks, int pauseMs) {
    d->stream.pushRaw(chunks, pauseMs);
}

void SimServer::endStreams() {
    d->stream.endAll();
}

void SimServer::dropStreams() {
    d->stream.dropAll();
}

void SimServer::stallStreams(int forMs) {
    d->stream.stallAll(forMs);
}

void SimServer::setStreamDeliveryObserver(SimStream::DeliveryObserver observer) {
    d->stream.setDeliveryObserver(std::move(observer));
}

void SimServer::failNextStreams(int status, int count) {
    d->stream.failNext(status, count);
}

void SimServer::setHeartbeatInterval(int ms) {
    d->stream.setHeartbeat(ms);
}

QJsonArray SimServer::streamConnections() const {
    return d->stream.connections();
}

int SimServer::openStreams() const {
    return d->stream.openConnections();
}

void SimServer::setScenarioSpeed(double speed) {
    d->scenario.setSpeed(speed);
}

std::unique_lock<std::mutex> SimServer::lockData() {
    return std::unique_lock(d->mutex);
}

SimData& SimServer::data() {
    return d->data;
}

QString SimServer::Impl::mintCode(const QString& state) {
    const QString code = randomToken(16);
    pendingCodes.insert(code, state);
    return code;
}

std::optional<Fault> SimServer::Impl::takeFault(const httplib::Request& req) {
    const QString path = q(req.path);
    const QString method = q(req.method);
    for (qsizetype i = 0; i < faults.size(); ++i) {
        Fault& f = faults[i];
        const bool pathMatches =
            f.path == u"*" || f.path == path ||
            (f.path.endsWith(u'*') && path.startsWith(QStringView(f.path).chopped(1)));
        if (!pathMatches || (!f.method.isEmpty() && f.method != method))
            continue;
        Fault taken = f;
        if (f.times > 0 && --f.times == 0)
            faults.removeAt(i);
        return taken;
    }
    return std::nullopt;
}

void SimServer::Impl::record(const httplib::Request& req) {
    QJsonObject headers;
    QJsonArray headerList;
    for (const auto& [name, value] : req.headers) {
        // The server library files connection facts among the headers.
        if (name == "REMOTE_ADDR" || name == "REMOTE_PORT" || name == "LOCAL_ADDR" ||
            name == "LOCAL_PORT")
            continue;
        headers.insert(q(name).toLower(), q(value));
        headerList.append(QJsonArray{q(name), q(value)});
    }
    std::lock_guard lock(mutex);
    requests.append(QJsonObject{{"method", q(req.method)},
                                {"target", q(req.target)},
                                {"path", q(req.path)},
                                {"headers", headers},
                                {"header_list", headerList},
                                {"body", q(req.body)}});
}

bool SimServer::Impl::authorised(const httplib::Request& req) {
    const std::string header = req.get_header_value("Authorization");
    constexpr std::string_view prefix = "Bearer ";
    if (header.compare(0, prefix.size(), prefix) != 0)
        return false;
    return acceptedKeys.contains(q(header.substr(prefix.size())));
}

void SimServer::Impl::installRoutes() {
    using httplib::Request;
    using httplib::Response;
    using Handled = httplib::Server::HandlerResponse;

    // Record, then faults, then the key check — before any route runs.
    server.set_pre_routing_handler([this](const Request& req, Response& res) {
        if (req.path.rfind("/_sim/", 0) == 0) {
            if (!isLoopback(req.remote_addr)) {
                sendError(res, 403, "forbidden", QStringLiteral("test control is loopback only"));
                return Handled::Handled;
            }
            return Handled::Unhandled;
        }
        std::optional<Fault> fault;
        {
            std::lock_guard lock(mutex);
            arrivals.append(q(req.method) + u' ' + q(req.target));
            fault = takeFault(req);
        }
        if (fault && fault->delayMs > 0)
            std::this_thread::sleep_for(std::chrono::milliseconds(fault->delayMs));
        if (fault) {
            if (fault->answer(res))
                return Handled::Handled;
            if (fault->kind == Fault::Kind::mistyped)
                res.set_header(kMistypeMark, "1");
        }
        if (req.path.rfind("/api/v2/", 0) == 0) {
            std::lock_guard lock(mutex);
            if (!authorised(req)) {
                sendError(res, 401, "unauthorized", QStringLiteral("invalid API key"));
                return Handled::Handled;
            }
        }
        return Handled::Unhandled;
    });

    // Requests are recorded as answered, when their body has been read.
    server.set_post_routing_handler([this](const Request& req, Response& res) {
        if (req.path.rfind("/_sim/", 0) != 0)
            record(req);
        if (!res.has_header(kMistypeMark))
            return;
        res.headers.erase(kMistypeMark);
        const QJsonDocument doc = QJsonDocument::fromJson(QByteArray::fromStdString(res.body));
        res.set_content(
            QJsonDocument(mistyped(doc.object())).toJson(QJsonDocument::Compact).toStdString(),
            kJsonType);
        // The length was written down before this handler ran.
        res.headers.erase("Content-Length");
        res.set_header("Content-Length", std::to_string(res.body.size()));
    });

    server.set_error_handler([](const Request&, Response& res) {
        if (res.body.empty() && res.status == 404)
            sendError(res, 404, "not_found", QStringLiteral("no such resource"));
    });

    installApiRoutes();
    installSignInRoutes();
    installPages();
    installControlRoutes();
}

void SimServer::Impl::installApiRoutes() {
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

    server.Get("/api/v2/events",
               [this](const Request& req, Response& res) { stream.serve(req, res); });
}

void SimServer::Impl::installSignInRoutes() {
    using httplib::Request;
    using httplib::Response;

    server.Get("/oauth/device", [this](const Request& req, Response& res) {
        const QString state = q(req.get_param_value("state"));
        const QString app = q(req.get_param_value("app"));
        if (state.isEmpty()) {
            res.status = 400;
            return sendPage(res, QStringLiteral("Sign-in link incomplete"),
                            QStringLiteral("<p>This sign-in link has no state. Start again from "
                                           "the Kestovar app.</p>"));
        }
        std::lock_guard lock(mutex);
        const QString approveUrl = QStringLiteral("/oauth/device/approve?state=") +
                                   QString::fromLatin1(QUrl::toPercentEncoding(state));
        sendPage(res, QStringLiteral("Sign in to Kestovar"),
                 QStringLiteral("<p>Signed in as <b>%1</b> (%2).</p>"
                                "<p>Allow the Kestovar %3 app on this computer to read and "
                                "answer your chats?</p>"
                                "<p><a class=\"button\" id=\"approve\" href=\"%4\">Approve</a></p>")
                     .arg(htmlEscape(data.user.name), htmlEscape(data.user.email),
                          htmlEscape(app.isEmpty() ? QStringLiteral("desktop") : app),
                          htmlEscape(approveUrl)));
    });

    server.Get("/oauth/device/approve", [this](const Request& req, Response& res) {
        const QString state = q(req.get_param_value("state"));
        if (state.isEmpty())
            return sendError(res, 400, "bad_request", QStringLiteral("state is required"));
        std::lock_guard lock(mutex);
        const QString code = mintCode(state);
        res.status = 302;
        res.set_header("Location",
                       s(QStringLiteral("kestovar://callback?code=%1&state=%2")
                             .arg(code, QString::fromLatin1(QUrl::toPercentEncoding(state)))));
    });

    server.Post("/oauth/device/exchange", [this](const Request& req, Response& res) {
        const auto body = jsonBody(req);
        if (!body || !body->value("code").isString() || !body->value("state").isString())
            return sendError(res, 400, "bad_request",
                             QStringLiteral("code and state are required"));
        std::lock_guard lock(mutex);
        const QString code = body->value("code").toString();
        const auto pending = pendingCodes.constFind(code);
        if (pending == pendingCodes.constEnd() || *pending != body->value("state").toString())
            return sendError(res, 401, "invalid_code", QStringLiteral("unknown or used code"));
        pendingCodes.erase(pending); // each code is traded once
        const QString key = QStringLiteral("kv_") + randomToken(16);
        acceptedKeys.insert(key);
        sendJson(res, {{"api_key", key}, {"user", toJson(data.user)}});
    });
}

void SimServer::Impl::installPages() {
    using httplib::Request;
    using httplib::Response;

    server.Get("/signup", [](const Request&, Response& res) {
        sendPage(res, QStringLiteral("Create your Kestovar account"),
                 QStringLiteral("<p>Put an AI agent on your website in minutes.</p>"));
    });
    server.Get("/dashboard", [](const Request&, Response& res) {
        sendPage(res, QStringLiteral("Dashboard"),
                 QStringLiteral("<p>Your agents at a glance.</p>"));
    });
    server.Get(R"(/legal/([a-z-]+))", [](const Request& req, Response& res) {
        sendPage(res, QStringLiteral("Legal: ") + q(req.matches[1]),
                 QStringLiteral("<p>The terms that apply to your use of Kestovar.</p>"));
    });
    server.Get(R"(/projects/([^/]+)/chat/([^/]+))", [this](const Request& req, Response& res) {
        std::lock_guard lock(mutex);
        const SimConversation* c = data.conversation(q(req.matches[1]), q(req.matches[2]));
        if (!c) {
            res.status = 404;
            return sendPage(res, QStringLiteral("Chat not found"), QString());
        }
        QString rows;
        for (const auto& m : c->messages)
            rows += QStringLiteral("<p><b>%1</b>: %2</p>").arg(m.role, htmlEscape(m.content));
        sendPage(res,
                 QStringLiteral("Chat with %1")
                     .arg(htmlEscape(c->visitorName.value_or(QStringLiteral("a visitor")))),
                 rows);
    });
    // The release feed: this build's version and a newer one.
    server.Get("/appcast.xml", [](const Request&, Response& res) {
        res.set_content(R"(<?xml version="1.0" encoding="utf-8"?>
<rss version="2.0" xmlns:sparkle="http://www.andymatuschak.org/xml-namespaces/sparkle">
  <channel>
    <title>Kestovar</title>
    <item>
      <title>Kestovar 0.1.0</title>
      <link>/releases/0.1.0</link>
      <sparkle:version>1</sparkle:version>
      <sparkle:shortVersionString>0.1.0</sparkle:shortVersionString>
    </item>
    <item>
      <title>Kestovar 0.2.0</title>
      <link>/releases/0.2.0</link>
      <enclosure url="/releases/kestovar-0.2.0.tar.gz" sparkle:version="7" sparkle:shortVersionString="0.2.0" length="0" type="application/octet-stream"/>
    </item>
  </channel>
</rss>
)",
                        "application/rss+xml");
    });
    server.Get(R"(/releases/([0-9.]+))", [](const Request& req, Response& res) {
        sendPage(res, QStringLiteral("Kestovar ") + q(req.matches[1]),
                 QStringLiteral("<p>What's new in this release.</p>"));
    });
    server.Get(R"(/static/logos/(northwind|bergmann)\.svg)", [](const Request& req, Response& res) {
        res.set_content(req.matches[1] == "northwind" ? northwindLogo : bergmannLogo,
                        "image/svg+xml");
    });
}

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
