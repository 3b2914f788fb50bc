#pragma once

// Inside the simulated service: its state and the helpers its routes share.
// The routes are installed by resource, one file each (SimServer.cpp: the
// pre- and post-routing of every request; Sim*Routes.cpp: the rest).

#include "SimServer.h"

#include "SimData.h"
#include "SimFault.h"
#include "SimHostile.h"
#include "SimScenario.h"
#include "SimStream.h"

#include <httplib.h>

#include <QHash>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QRandomGenerator>
#include <QSet>

#include <mutex>
#include <optional>
#include <thread>

namespace kv::sim {

inline constexpr char kJsonType[] = "application/json; charset=utf-8";
inline constexpr char kHtmlType[] = "text/html; charset=utf-8";
inline constexpr char kMistypeMark[] = "X-Sim-Mistype";

inline QString q(const std::string& s) {
    return QString::fromUtf8(s.data(), qsizetype(s.size()));
}

inline std::string s(const QString& q) {
    return q.toUtf8().toStdString();
}

inline void sendJson(httplib::Response& res, const QJsonObject& body, int status = 200) {
    res.status = status;
    res.set_content(QJsonDocument(body).toJson(QJsonDocument::Compact).toStdString(), kJsonType);
}

inline void sendError(httplib::Response& res, int status, const char* code,
                      const QString& message) {
    sendJson(res, QJsonObject{{"error", QLatin1StringView(code)}, {"message", message}}, status);
}

inline QString htmlEscape(const QString& text) {
    return text.toHtmlEscaped();
}

inline void sendPage(httplib::Response& res, const QString& title, const QString& bodyHtml) {
    const QString page =
        QStringLiteral("<!doctype html><html><head><meta charset=\"utf-8\"><title>%1</title>"
                       "<style>body{font-family:sans-serif;max-width:36em;margin:4em auto;"
                       "color:#1f2933}a.button{display:inline-block;padding:.6em 1.4em;"
                       "background:#2F6FEB;color:#fff;border-radius:6px;text-decoration:none}"
                       "</style></head><body><h1>%1</h1>%2</body></html>")
            .arg(htmlEscape(title), bodyHtml);
    res.set_content(s(page), kHtmlType);
}

inline bool isLoopback(const std::string& address) {
    return address.rfind("127.", 0) == 0 || address == "::1" ||
           address.rfind("::ffff:127.", 0) == 0;
}

inline std::optional<QJsonObject> jsonBody(const httplib::Request& req) {
    QJsonParseError error;
    const QJsonDocument doc = QJsonDocument::fromJson(QByteArray::fromStdString(req.body), &error);
    if (error.error != QJsonParseError::NoError || !doc.isObject())
        return std::nullopt;
    return doc.object();
}

inline QString randomToken(int bytes) {
    QByteArray raw(bytes, Qt::Uninitialized);
    QRandomGenerator::system()->fillRange(reinterpret_cast<quint32*>(raw.data()), bytes / 4);
    return QString::fromLatin1(raw.toHex());
}

inline const char* northwindLogo =
    R"(<svg xmlns="http://www.w3.org/2000/svg" viewBox="0 0 64 64"><rect width="64" height="64" rx="14" fill="#2F6FEB"/><path d="M16 46V18l32 28V18" stroke="#fff" stroke-width="6" fill="none" stroke-linejoin="round"/></svg>)";
inline const char* bergmannLogo =
    R"(<svg xmlns="http://www.w3.org/2000/svg" viewBox="0 0 64 64"><rect width="64" height="64" rx="14" fill="#4A5568"/><path d="M10 48l16-26 10 16 6-8 12 18z" fill="#fff"/></svg>)";

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
    // The service's API, by resource.
    void installAccountRoutes();
    void installConversationRoutes();
    void installVisitorRoutes();
    void installSnippetRoutes();
    void installSignInRoutes();
    void installPages();
    void installControlRoutes();
    std::optional<Fault> takeFault(const httplib::Request& req);
    void record(const httplib::Request& req);
    bool authorised(const httplib::Request& req);
    QString mintCode(const QString& state);
};

} // namespace kv::sim
