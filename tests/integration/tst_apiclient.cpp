// The REST client against the simulated service over loopback HTTP: what
// the service receives, what the caller gets back, and what is logged.

#include "Await.h"
#include "LogCapture.h"
#include "ScopedTiming.h"
#include "SimServer.h"
#include "Timing.h"
#include "service/ApiClient.h"
#include "service/Configuration.h"

#include <QCoroTask>
#include <QJsonDocument>
#include <QNetworkAccessManager>
#include <QNetworkRequest>
#include <QRegularExpression>
#include <QTest>
#include <QTimer>

using namespace kv;
using kv::sim::Fault;
using kv::sim::SimServer;

using kv::test::await;

namespace {

QJsonObject bodyOf(const QJsonObject& request) {
    return QJsonDocument::fromJson(request["body"].toString().toUtf8()).object();
}

} // namespace

class TestApiClient : public QObject {
    Q_OBJECT

    std::unique_ptr<SimServer> sim;
    std::unique_ptr<QNetworkAccessManager> network;
    std::unique_ptr<ApiClient> api;

    QJsonObject lastRequest() const {
        const QJsonArray all = sim->requests();
        return all.isEmpty() ? QJsonObject() : all.last().toObject();
    }

    void addFault(const char* json) {
        QString error;
        const auto fault = Fault::fromJson(QJsonDocument::fromJson(json).object(), &error);
        QVERIFY2(fault, qPrintable(error));
        sim->addFault(*fault);
    }

private slots:
    void init() {
        sim = std::make_unique<SimServer>();
        QVERIFY(sim->start() > 0);
        qputenv(Configuration::kApiUrlVariable, sim->baseUrl().toUtf8());
        network = std::make_unique<QNetworkAccessManager>();
        api = std::make_unique<ApiClient>(network.get(), sim->apiKey());
        Timing::current() = Timing{};
    }

    void cleanup() {
        api.reset();
        network.reset();
        sim.reset();
        qunsetenv(Configuration::kApiUrlVariable);
        Timing::current() = Timing{};
    }

    void readOperationsAsReceived() {
        struct Case {
            const char* target;
            std::function<bool()> call;
        };
        const QList<Case> cases{
            {"/api/v2/me", [&] { return bool(await(api->fetchMe())); }},
            {"/api/v2/projects", [&] { return bool(await(api->fetchProjects())); }},
            {"/api/v2/clients", [&] { return bool(await(api->fetchClients())); }},
            {"/api/v2/projects/p1/conversations?limit=50",
             [&] { return bool(await(api->fetchConversations(u"p1"_qs, {}, 50))); }},
            {"/api/v2/inbox?limit=50",
             [&] { return bool(await(api->fetchConversations({}, {}, 50))); }},
            {"/api/v2/inbox?limit=20&status=waiting",
             [&] { return bool(await(api->fetchConversations({}, u"waiting"_qs, 20))); }},
            {"/api/v2/inbox?limit=50",
             [&] { return bool(await(api->fetchConversations({}, u"all"_qs, 50))); }},
            {"/api/v2/visitors/live", [&] { return bool(await(api->fetchLiveVisitors({}))); }},
            {"/api/v2/projects/p2/visitors/live",
             [&] { return bool(await(api->fetchLiveVisitors(u"p2"_qs))); }},
            {"/api/v2/projects/p1/stats?days=7",
             [&] { return bool(await(api->fetchStats(u"p1"_qs, 7))); }},
            {"/api/v2/stats?days=30", [&] { return bool(await(api->fetchAggregateStats(30))); }},
            {"/api/v2/notification-prefs",
             [&] { return bool(await(api->fetchNotificationPrefs())); }},
            {"/api/v2/projects/p1/snippets",
             [&] { return bool(await(api->fetchSnippets(u"p1"_qs))); }},
        };
        for (const Case& c : cases) {
            QVERIFY2(c.call(), c.target);
            const QJsonObject request = lastRequest();
            QCOMPARE(request["method"].toString(), u"GET"_qs);
            QCOMPARE(request["target"].toString(), QString::fromLatin1(c.target));
            const QJsonObject headers = request["headers"].toObject();
            QCOMPARE(headers["authorization"].toString(), u"Bearer sim-demo-key"_qs);
            QCOMPARE(headers["accept"].toString(), u"application/json"_qs);
            QCOMPARE(headers["user-agent"].toString(), Configuration::userAgent());
            QVERIFY(!headers.contains("content-type"));
        }
        QVERIFY(Configuration::userAgent().startsWith("KestovarMac/0.1.0 (build "));
    }

    void resultsAreDecodedAndMapped() {
        const auto projects = await(api->fetchProjects());
        QVERIFY(projects);
        QCOMPARE(projects->size(), 7);
        QCOMPARE(projects->at(0).emoji, u"\U0001F3A7"_qs);
        QCOMPARE(projects->at(0).logoURL->toString(),
                 sim->baseUrl() + "/static/logos/northwind.svg");
        QCOMPARE(projects->at(5).emoji, u"\U0001F916"_qs); // "Robot" is not "robot"

        const auto stats = await(api->fetchAggregateStats(90));
        QVERIFY(stats);
        QCOMPARE(stats->days, 90);
        QCOMPARE(stats->buckets.size(), 90);
        QVERIFY(!stats->topAgents.isEmpty());
        const auto agentStats = await(api->fetchStats(u"p1"_qs, 7));
        QVERIFY(agentStats && agentStats->topAgents.isEmpty());
    }

    void writeOperationsAsReceivedAndApplied() {
        const auto inbox = await(api->fetchConversations(u"p1"_qs, {}, 50));
        QVERIFY(inbox && !inbox->isEmpty());
        const Conversation first = inbox->first();

        const auto sent = await(api->sendMessage("p1", first.id, u"Hej — I'm here"_qs, false));
        QVERIFY(sent);
        QJsonObject request = lastRequest();
        QCOMPARE(request["method"].toString(), u"POST"_qs);
        QCOMPARE(request["target"].toString(),
                 "/api/v2/projects/p1/conversations/" + first.id + "/send");
        QCOMPARE(request["headers"].toObject()["content-type"].toString(), u"application/json"_qs);
        QCOMPARE(bodyOf(request),
                 (QJsonObject{{"text", "Hej — I'm here"}, {"resolve_after", false}}));
        QCOMPARE(sent->conversationStatus, u"operator_active"_qs);
        QCOMPARE(sent->message.role, MessageRole::operatorRole);
        QCOMPARE(sent->message.content, u"Hej — I'm here"_qs);

        const auto detail = await(api->fetchConversationDetail("p1", first.id));
        QVERIFY(detail);
        QCOMPARE(detail->conversation.status, ConversationStatus::operatorActive);
        QCOMPARE(detail->messages.last().id, sent->message.id);

        QVERIFY(await(api->resolveConversation("p1", first.id)));
        request = lastRequest();
        QCOMPARE(request["target"].toString(),
                 "/api/v2/projects/p1/conversations/" + first.id + "/resolve");
        QCOMPARE(request["body"].toString(), u"{}"_qs);
        QCOMPARE(request["headers"].toObject()["content-type"].toString(), u"application/json"_qs);
        QCOMPARE(await(api->fetchConversationDetail("p1", first.id))->conversation.status,
                 ConversationStatus::resolved);

        const auto translated = await(api->translate(
            "Hej, jeg vil gerne tale med et menneske om min booking.", "en", "auto"));
        QVERIFY(translated);
        QCOMPARE(bodyOf(lastRequest()),
                 (QJsonObject{{"text", "Hej, jeg vil gerne tale med et menneske om min booking."},
                              {"target", "en"},
                              {"source", "auto"}}));
        QCOMPARE(translated->detectedSource, u"da"_qs);

        const auto pref = await(api->updateNotificationPref("p1", true));
        QVERIFY(pref);
        request = lastRequest();
        QCOMPARE(request["method"].toString(), u"PUT"_qs);
        QCOMPARE(request["target"].toString(), u"/api/v2/notification-prefs"_qs);
        QCOMPARE(bodyOf(request), (QJsonObject{{"project_id", "p1"}, {"muted", true}}));
        QCOMPARE(*pref, (NotificationPref{"p1", true, false, false, false}));
    }

    void snippetLifecycle() {
        const auto created = await(api->createSnippet("p1", "bye", "Goodbye", "Take care!", ""));
        QVERIFY(created);
        QCOMPARE(
            bodyOf(lastRequest()),
            (QJsonObject{
                {"shortcut", "bye"}, {"title", "Goodbye"}, {"body", "Take care!"}, {"emoji", ""}}));
        QCOMPARE(created->emoji, QString("")); // copied as returned; only listing substitutes

        const auto updated =
            await(api->updateSnippet("p1", created->id, "bye", "Farewell", "See you!", "👋"));
        QVERIFY(updated);
        QCOMPARE(lastRequest()["method"].toString(), u"PUT"_qs);
        QCOMPARE(lastRequest()["target"].toString(), "/api/v2/projects/p1/snippets/" + created->id);
        QCOMPARE(updated->title, u"Farewell"_qs);

        QVERIFY(await(api->deleteSnippet("p1", created->id)));
        QCOMPARE(lastRequest()["method"].toString(), u"DELETE"_qs);
        const auto listed = await(api->fetchSnippets("p1"));
        QVERIFY(listed);
        for (const Snippet& s : *listed)
            QVERIFY(s.id != created->id);
        QCOMPARE(listed->last().emoji, u"\U0001F4AC"_qs); // seeded with empty emoji
    }

    void errorMapping_data() {
        QTest::addColumn<QByteArray>("fault");
        QTest::addColumn<QString>("description");
        QTest::newRow("401") << QByteArray(R"({"status":401})")
                             << "Your session expired — please sign in again.";
        QTest::newRow("403") << QByteArray(R"({"status":403})") << "You don't have access to that.";
        QTest::newRow("404") << QByteArray(R"({"status":404,"body":"gone"})") << "Not found.";
        QTest::newRow("500") << QByteArray(R"({"status":500,"body":"Internal error"})")
                             << "HTTP 500: Internal error";
        QTest::newRow("429") << QByteArray(R"({"status":429,"body":"slow down"})")
                             << "HTTP 429: slow down";
    }

    void errorMapping() {
        QFETCH(QByteArray, fault);
        QFETCH(QString, description);
        addFault(fault);
        const auto result = await(api->fetchMe());
        QVERIFY(!result);
        QCOMPARE(result.error().errorDescription(), description);
        QCOMPARE(sim->requests().size(), 1); // never retried
    }

    void undecodableBodies() {
        test::LogCapture log;
        addFault(R"({"kind":"malformed","path":"/api/v2/projects"})");
        auto projects = await(api->fetchProjects());
        QVERIFY(!projects);
        QCOMPARE(projects.error().kind, ApiError::Kind::decoding);
        QVERIFY(projects.error().errorDescription().startsWith(
            "Couldn't read server response: The data isn't valid JSON"));
        const QStringList lines = log.messages("APIClient");
        QCOMPARE(lines.size(), 2);
        QCOMPARE(lines[0], u"GET /api/v2/projects → 200 (35 bytes)"_qs);
        QCOMPARE(lines[1], "decode error on /api/v2/projects: " + projects.error().underlying +
                               R"( — body: {"projects": [{"id": "p1", "name": )");

        addFault(R"({"kind":"mistyped","path":"/api/v2/conversations*"})");
        addFault(R"({"kind":"mistyped","path":"/api/v2/projects/p1/conversations"})");
        auto conversations = await(api->fetchConversations(u"p1"_qs, {}, 50));
        QVERIFY(!conversations);
        QCOMPARE(
            conversations.error().errorDescription(),
            u"Couldn't read server response: Key \"id\" is not text (at conversations[0].id)."_qs);

        // A DELETE answered 204 without a body is not the JSON object the service promises.
        addFault(R"({"kind":"empty","method":"DELETE"})");
        const auto removed = await(api->deleteSnippet("p1", "snip_1"));
        QVERIFY(!removed);
        QCOMPARE(removed.error().kind, ApiError::Kind::decoding);
    }

    // Thousands of visitors are decoded on a worker thread: the same records,
    // the same errors and log lines as a small answer.
    void largeAnswersDecodeOnAWorker() {
        sim->withData([](sim::SimData& d) {
            d.seedVisitors(700);
            return 0;
        });
        const auto visitors = await(api->fetchLiveVisitors(std::nullopt));
        QVERIFY(visitors);
        QCOMPARE(visitors->size(), 700);
        const QString first =
            sim->withData([](sim::SimData& d) { return d.visitors.first().visitorId; });
        QCOMPARE(visitors->first().visitorID, first);
        QVERIFY(visitors->first().lastSeen.isValid());

        test::LogCapture log;
        addFault(R"({"kind":"mistyped","path":"/api/v2/visitors/live"})");
        const auto mistyped = await(api->fetchLiveVisitors(std::nullopt));
        QVERIFY(!mistyped);
        QCOMPARE(mistyped.error().kind, ApiError::Kind::decoding);
        QVERIFY(
            log.messages("APIClient").last().startsWith("decode error on /api/v2/visitors/live: "));
    }

    // A body past 32 MiB is not read: a clear error, and the reading stops.
    void oversizedBodiesAreRefused() {
        Fault huge;
        huge.path = "/api/v2/projects";
        huge.status = 200;
        huge.body = QByteArray(33 * 1024 * 1024, ' ');
        huge.times = 1;
        sim->addFault(huge);
        test::LogCapture log;
        const auto projects = await(api->fetchProjects());
        QVERIFY(!projects);
        QCOMPARE(projects.error().kind, ApiError::Kind::decoding);
        QVERIFY(projects.error().errorDescription().contains("larger than 32 MiB"));
        QCOMPARE(log.messages("APIClient").last(),
                 u"GET /api/v2/projects — the answer is larger than 32 MiB and was not read"_qs);
        // The next answer is read as usual.
        QVERIFY(await(api->fetchProjects()));
    }

    // The same limits for faults asked for over the simulator's control route:
    // a body sent in chunks with no length is counted as it comes, and one
    // that never ends is abandoned at the deadline.
    void bodiesWithoutAnEndAreCut() {
        using namespace std::chrono_literals;
        const test::ScopedTiming deadline([](Timing& t) { t.requestDeadline = 1500ms; });
        addFault(R"({"kind":"oversized","path":"/api/v2/me","bytes":40000000,"times":1})");
        const auto huge = await(api->fetchMe());
        QVERIFY(!huge);
        QVERIFY(huge.error().errorDescription().contains("larger than 32 MiB"));

        addFault(R"({"kind":"endless","path":"/api/v2/me","times":1})");
        test::LogCapture log;
        const auto endless = await(api->fetchMe());
        QVERIFY(!endless);
        QCOMPARE(endless.error().kind, ApiError::Kind::transport);
        QCOMPARE(log.messages("APIClient").last(),
                 u"GET /api/v2/me — the answer did not complete within 1 s and was abandoned"_qs);
        QVERIFY(await(api->fetchMe()));
    }

    void binaryBodyPreview() {
        test::LogCapture log;
        // The 400-byte cut splits the last character; the preview then says <binary>.
        Fault f;
        f.status = 200;
        f.body = QByteArray(399, 'x') + "\xC3\xA9";
        sim->addFault(f);
        QVERIFY(!await(api->fetchMe()));
        QVERIFY(log.messages("APIClient").last().endsWith(u"— body: <binary>"_qs));
    }

    void nothingLeavesWithoutKeyOrWithHostileIdentifiers() {
        test::LogCapture log;
        ApiClient signedOut(network.get());
        auto me = await(signedOut.fetchMe());
        QCOMPARE(me.error().errorDescription(), u"Not signed in."_qs);
        signedOut.setApiKey(QString());
        QCOMPARE(await(signedOut.fetchProjects()).error().kind, ApiError::Kind::missingCredential);

        for (const QString& id : {u".."_qs, u"."_qs, u""_qs, u"%2e%2e"_qs}) {
            QCOMPARE(await(api->fetchConversationDetail("p1", id)).error().kind,
                     ApiError::Kind::invalidIdentifier);
            QCOMPARE(await(api->fetchSnippets(id)).error().kind, ApiError::Kind::invalidIdentifier);
            QCOMPARE(await(api->fetchConversations(id, {}, 50)).error().kind,
                     ApiError::Kind::invalidIdentifier);
        }
        QVERIFY(sim->requests().isEmpty());
        QVERIFY(log.messages("APIClient").isEmpty());

        // Anything else is one encoded segment: it cannot reach another path.
        const auto odd = await(api->fetchConversationDetail("p1", "../../me"));
        QCOMPARE(odd.error().kind, ApiError::Kind::notFound);
        QCOMPARE(lastRequest()["target"].toString(),
                 u"/api/v2/projects/p1/conversations/..%2F..%2Fme"_qs);
    }

    void logLinesKeepOutsideTextAsText() {
        test::LogCapture log;
        // Escaped paths hold "%2F", "%3F" and "%1A": text, never placeholders.
        const auto removed = await(api->deleteSnippet("a/b", "s%1?x"));
        QCOMPARE(removed.error().kind, ApiError::Kind::notFound);
        const QString path = u"/api/v2/projects/a%2Fb/snippets/s%251%3Fx"_qs;
        QCOMPARE(lastRequest()["target"].toString(), path);
        const QRegularExpression line("^DELETE " + QRegularExpression::escape(path) +
                                      " → 404 \\(\\d+ bytes\\)$");
        QVERIFY2(line.match(log.messages("APIClient").last()).hasMatch(),
                 qPrintable(log.messages("APIClient").last()));

        // The error text and its debugging form carry a body with "%1" unchanged.
        addFault(R"({"path":"/api/v2/me","status":500,"body":"%1 %2 failed","times":1})");
        QCOMPARE(await(api->fetchMe()).error().errorDescription(), u"HTTP 500: %1 %2 failed"_qs);
        // A body that opens with U+FEFF keeps it.
        Fault marked;
        marked.path = "/api/v2/me";
        marked.status = 503;
        marked.body = "\xEF\xBB\xBF"
                      "down";
        marked.times = 1;
        sim->addFault(marked);
        QCOMPARE(await(api->fetchMe()).error().errorDescription(), u"HTTP 503: \uFEFFdown"_qs);

        // A transport error on such a path, and a decode error naming it.
        addFault("{\"kind\":\"malformed\",\"path\":\"/api/v2/projects/\x2a\",\"times\":1}");
        log.clear();
        QVERIFY(!await(api->fetchSnippets("%1")));
        QVERIFY(log.messages("APIClient")
                    .last()
                    .startsWith(u"decode error on /api/v2/projects/%251/snippets: "_qs));
    }

    void keysWithControlCharactersAreNeverSent() {
        for (const QString& key : {u"k\r\nX-Injected: yes"_qs, u"k"_qs + QChar(0),
                                   u"k"_qs + QChar(0x7F), u"k"_qs + QChar(0x85), u"\tk"_qs}) {
            api->setApiKey(key);
            const auto me = await(api->fetchMe());
            QCOMPARE(me.error().kind, ApiError::Kind::invalidCredential);
            QCOMPARE(me.error().errorDescription(),
                     u"The API key holds a control character and was not used."_qs);
        }
        QVERIFY(sim->requests().isEmpty());

        // A sign-in exchange that hands out such a key fails as a sign-in.
        Fault handsOut;
        handsOut.method = "POST";
        handsOut.path = "/oauth/device/exchange";
        handsOut.status = 200;
        const QJsonObject user{{"id", "u1"},
                               {"email", "a@b.example"},
                               {"name", "A"},
                               {"is_admin", false},
                               {"is_agency", false}};
        handsOut.body =
            QJsonDocument(QJsonObject{{"api_key", "kv_1\r\nX-Injected: yes"}, {"user", user}})
                .toJson(QJsonDocument::Compact);
        sim->addFault(handsOut);
        test::LogCapture log;
        const auto exchanged = await(api->exchangeOAuthCode("c", "s"));
        QCOMPARE(exchanged.error().kind, ApiError::Kind::invalidCredential);
        QCOMPARE(
            log.messages("APIClient").last(),
            u"exchangeOAuthCode failed: The API key holds a control character and was not used."_qs);
    }

    void transportFailures() {
        test::LogCapture log;
        sim.reset(); // nothing listens there now
        auto me = await(api->fetchMe());
        QCOMPARE(me.error().kind, ApiError::Kind::transport);
        QCOMPARE(me.error().errorDescription(), u"Network error: Connection refused"_qs);
        QCOMPARE(log.lines().last().type, QtWarningMsg);
        QCOMPARE(log.messages("APIClient"),
                 QStringList{u"GET /api/v2/me — transport error: Connection refused"_qs});
    }

    void bodyCutOffIsANetworkError() {
        addFault(R"({"kind":"truncated","path":"/api/v2/me"})");
        const auto me = await(api->fetchMe());
        QCOMPARE(me.error().kind, ApiError::Kind::transport);
        QVERIFY(me.error().errorDescription().startsWith(u"Network error: "_qs));
    }

    void requestTimeout() {
        Timing::current().requestTimeout = std::chrono::milliseconds(200);
        addFault(R"({"status":200,"delay_ms":800,"body":"{}"})");
        const auto me = await(api->fetchMe());
        QCOMPARE(me.error().kind, ApiError::Kind::transport);
    }

    void cancellationAbortsInFlight() {
        addFault(R"({"status":200,"delay_ms":800,"body":"{}"})");
        Cancellation cancel;
        QTimer::singleShot(50, [cancel]() mutable { cancel.cancel(); });
        QElapsedTimer clock;
        clock.start();
        const auto me = await(api->fetchMe(cancel));
        QVERIFY(clock.elapsed() < 1000);
        QVERIFY(!me);
        QVERIFY(cancel.isCancelled());
    }

    void redirectsStayOnOrigin() {
        // Same origin: followed, and the key goes along.
        addFault(
            R"({"kind":"redirect","path":"/api/v2/me","location":"/api/v2/me?moved=1","times":1})");
        QVERIFY(await(api->fetchMe()));
        // The server records a request when it has answered it, so the redirect
        // may be recorded after the request that followed it: look it up.
        QJsonObject followed;
        for (const QJsonValue& request : sim->requests()) {
            if (request["target"].toString() == u"/api/v2/me?moved=1")
                followed = request.toObject();
        }
        QVERIFY(!followed.isEmpty());
        QCOMPARE(followed["headers"].toObject()["authorization"].toString(),
                 "Bearer " + sim->apiKey());

        // Another origin: not followed, so the key never reaches it.
        SimServer other;
        QVERIFY(other.start() > 0);
        Fault away;
        away.kind = Fault::Kind::redirect;
        away.path = "/api/v2/clients";
        away.location = other.baseUrl() + "/api/v2/clients";
        sim->addFault(away);
        const auto clients = await(api->fetchClients());
        QVERIFY(!clients);
        QVERIFY(other.requests().isEmpty());
    }

    void requestShape() {
        const QNetworkRequest get = api->buildRequest("/api/v2/me", false);
        QCOMPARE(get.rawHeaderList(), (QList<QByteArray>{"Authorization", "Accept", "User-Agent"}));
        const QNetworkRequest post = api->buildRequest("/api/v2/translate", true);
        QCOMPARE(post.rawHeaderList(),
                 (QList<QByteArray>{"Authorization", "Content-Type", "Accept", "User-Agent"}));
        QCOMPARE(post.transferTimeout(), 60'000);
    }

    void baseAddress() {
        qputenv(Configuration::kApiUrlVariable, (sim->baseUrl() + "/").toUtf8());
        // Paths are appended to the text unchanged: no slash normalisation.
        QCOMPARE(api->buildRequest("/api/v2/me", false).url().toString(),
                 sim->baseUrl() + "//api/v2/me");
        QCOMPARE(Configuration::signInURL("a b&c=d").toString(QUrl::FullyEncoded),
                 sim->baseUrl() + "/oauth/device?app=mac&state=a%20b%26c%3Dd");

        qputenv(Configuration::kApiUrlVariable, "");
        QCOMPARE(Configuration::baseURL(), QUrl("https://app.kestovar.com"));
        qputenv(Configuration::kApiUrlVariable, "not a url");
        QCOMPARE(Configuration::baseURL(), QUrl("https://app.kestovar.com"));
        QCOMPARE(Configuration::signInURL("s1").toString(),
                 u"https://app.kestovar.com/oauth/device?app=mac&state=s1"_qs);
    }

    void signInExchange() {
        test::LogCapture log;
        api->setApiKey(std::nullopt);
        api->setDeviceNameProvider([] { return u"Alex’s Workstation"_qs; });
        const QString code = sim->approve("state-1");

        const auto exchanged = await(api->exchangeOAuthCode(code, "state-1"));
        QVERIFY(exchanged);
        QVERIFY(exchanged->apiKey.startsWith("kv_"));
        QCOMPARE(exchanged->user.email, u"alex@kestovar.example"_qs);
        const QJsonObject request = lastRequest();
        QCOMPARE(request["target"].toString(), u"/oauth/device/exchange"_qs);
        const QJsonObject headers = request["headers"].toObject();
        QVERIFY(!headers.contains("authorization"));
        QCOMPARE(headers["x-device-hostname"].toString(), u"Alex’s Workstation"_qs);
        QCOMPARE(headers["content-type"].toString(), u"application/json"_qs);
        QCOMPARE(bodyOf(request), (QJsonObject{{"code", code}, {"state", "state-1"}}));
        QCOMPARE(
            log.messages("APIClient"),
            (QStringList{"exchangeOAuthCode → POST " + sim->baseUrl() + "/oauth/device/exchange",
                         u"POST /oauth/device/exchange → 200 (156 bytes)"_qs,
                         u"exchangeOAuthCode: success user=alex@kestovar.example"_qs}));

        // The new key works; the code is spent.
        api->setApiKey(exchanged->apiKey);
        QVERIFY(await(api->fetchMe()));
        log.clear();
        const auto again = await(api->exchangeOAuthCode(code, "state-1"));
        QCOMPARE(again.error().kind, ApiError::Kind::unauthorized);
        QCOMPARE(log.messages("APIClient").last(),
                 u"exchangeOAuthCode failed: Your session expired — please sign in again."_qs);
        QCOMPARE(await(api->exchangeOAuthCode(sim->approve("s2"), "other")).error().kind,
                 ApiError::Kind::unauthorized);
    }
};

QTEST_GUILESS_MAIN(TestApiClient)
#include "tst_apiclient.moc"
