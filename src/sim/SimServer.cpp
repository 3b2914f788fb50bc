#include "SimServerImpl.h"

#include <QUrl>

#include <algorithm>

namespace kv::sim {

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

    installAccountRoutes();
    installConversationRoutes();
    installVisitorRoutes();
    installSnippetRoutes();
    installSignInRoutes();
    installPages();
    installControlRoutes();
}

} // namespace kv::sim
