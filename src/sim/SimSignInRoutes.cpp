// Signing in through the browser, and the web pages the console opens.

#include "SimServerImpl.h"

#include <QUrl>

namespace kv::sim {

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

} // namespace kv::sim
