// kestovar-cli as a script sees it: a separate process against the simulated
// service, judged by its standard output, standard error and exit code.

#include "SimServer.h"

#include <QElapsedTimer>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QRegularExpression>
#include <QTest>

using kv::sim::SimServer;

namespace {

struct Run {
    int exitCode = -1;
    QList<QJsonObject> lines;
    QString out;
    QString err;
};

const QRegularExpression instantForm(R"(^\d{4}-\d\d-\d\dT\d\d:\d\d:\d\d\.\d{3}Z$)");

} // namespace

class TestCli : public QObject {
    Q_OBJECT

    std::unique_ptr<SimServer> sim;

    Run cli(const QStringList& args, const QString& key = QStringLiteral("sim-demo-key")) {
        QProcess process;
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert("KESTOVAR_API_URL", sim->baseUrl());
        if (key.isNull())
            env.remove("KESTOVAR_API_KEY");
        else
            env.insert("KESTOVAR_API_KEY", key);
        process.setProcessEnvironment(env);
        process.start(QStringLiteral(KESTOVAR_CLI), args);
        process.waitForFinished(60'000);
        Run run;
        run.exitCode = process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1;
        run.out = QString::fromUtf8(process.readAllStandardOutput());
        run.err = QString::fromUtf8(process.readAllStandardError());
        for (const QString& line : run.out.split('\n', Qt::SkipEmptyParts))
            run.lines.append(QJsonDocument::fromJson(line.toUtf8()).object());
        return run;
    }

private slots:
    void init() {
        sim = std::make_unique<SimServer>();
        QVERIFY(sim->start() > 0);
    }

    void cleanup() { sim.reset(); }

    void listsRecordsAsJsonLines() {
        const Run inbox = cli({"inbox", "--project", "p1", "--limit", "2"});
        QCOMPARE(inbox.exitCode, 0);
        QCOMPARE(inbox.err, QString());
        QCOMPARE(inbox.lines.size(), 2);
        for (const QJsonObject& c : inbox.lines) {
            QCOMPARE(c["projectID"].toString(), u"p1"_qs);
            QVERIFY(QStringList({"waiting", "active", "operator_active", "resolved"})
                        .contains(c["status"].toString()));
            QVERIFY(instantForm.match(c["lastMessageAt"].toString()).hasMatch());
            QVERIFY(!c.contains("rating") || c["rating"].isDouble()); // absent, never null
        }
        QCOMPARE(sim->requests().last().toObject()["target"].toString(),
                 u"/api/v2/projects/p1/conversations?limit=2"_qs);

        const QString id = inbox.lines[0]["id"].toString();
        const Run detail = cli({"conversation", "p1", id});
        QCOMPARE(detail.exitCode, 0);
        QCOMPARE(detail.lines[0]["id"].toString(), id);
        QVERIFY(detail.lines.size() >= 3);
        for (qsizetype i = 1; i < detail.lines.size(); ++i)
            QCOMPARE(detail.lines[i]["conversationID"].toString(), id);

        const Run projects = cli({"projects"});
        QCOMPARE(projects.lines.size(), 7);
        QCOMPARE(projects.lines[0]["websiteURL"].toString(),
                 u"https://northwind-outfitters.example"_qs);
        QCOMPARE(projects.lines[0]["logoURL"].toString(),
                 sim->baseUrl() + "/static/logos/northwind.svg");
        QVERIFY(!projects.lines[4].contains("clientID"));

        const Run stats = cli({"stats", "--days", "7"});
        QCOMPARE(stats.lines.size(), 1);
        QCOMPARE(stats.lines[0]["buckets"].toArray().size(), 7);
    }

    void changesTheService() {
        const QString id = cli({"inbox", "--project", "p2"}).lines[0]["id"].toString();
        const Run sent = cli({"send", "p2", id, "On it!", "--resolve"});
        QCOMPARE(sent.exitCode, 0);
        QCOMPARE(sent.lines[0]["conversationStatus"].toString(), u"resolved"_qs);
        QCOMPARE(sent.lines[0]["message"].toObject()["role"].toString(), u"operator"_qs);

        const Run muted = cli({"mute", "p2", "on"});
        QCOMPARE(muted.lines[0]["muted"].toBool(), true);

        const Run added = cli({"snippet-add", "p2", "bye", "Goodbye", "Take care!"});
        QCOMPARE(added.exitCode, 0);
        const QString snippet = added.lines[0]["id"].toString();
        QCOMPARE(cli({"snippet-edit", "p2", snippet, "bye", "Farewell", "See you", "👋"})
                     .lines[0]["emoji"]
                     .toString(),
                 u"👋"_qs);
        const Run removed = cli({"snippet-rm", "p2", snippet});
        QCOMPARE(removed.exitCode, 0);
        QCOMPARE(removed.out, QString());
        const Run translated = cli({"translate", "¿A qué hora es el check-in?", "--target", "en"});
        QCOMPARE(translated.lines[0]["translation"].toString(), u"What time is check-in?"_qs);
        QCOMPARE(translated.lines[0]["detectedSource"].toString(), u"es"_qs);
    }

    void errorsAndUsage() {
        const Run rejected = cli({"me"}, "wrong-key");
        QCOMPARE(rejected.exitCode, 1);
        QCOMPARE(rejected.out, QString());
        QCOMPARE(rejected.err, u"Your session expired — please sign in again.\n"_qs);

        const Run missing = cli({"conversation", "p1", "nope"});
        QCOMPARE(missing.exitCode, 1);
        QCOMPARE(missing.err, u"Not found.\n"_qs);

        sim->clearRequests();
        const Run hostile = cli({"conversation", "p1", ".."});
        QCOMPARE(hostile.exitCode, 1);
        QVERIFY(sim->requests().isEmpty());

        // A key with a line break would add a header to every request: refused, nothing sent.
        for (const QStringList& args : {QStringList{"me"}, QStringList{"events"}}) {
            const Run injected = cli(args, "sim-demo-key\r\nX-Injected: yes");
            QCOMPARE(injected.exitCode, 1);
            QCOMPARE(injected.err, u"KESTOVAR_API_KEY holds a control character: refused.\n"_qs);
        }
        QVERIFY(sim->requests().isEmpty());

        for (const QStringList& args :
             {QStringList{"bogus"}, QStringList{}, QStringList{"inbox", "--limit", "zero"},
              QStringList{"send", "p1"}, QStringList{"stats"}, QStringList{"mute", "p1", "maybe"},
              QStringList{"me", "--no-such-option"}}) {
            const Run usage = cli(args);
            QVERIFY2(usage.exitCode == 2, qPrintable(args.join(' ')));
        }
        QVERIFY(sim->requests().isEmpty());
    }

    void followsTheEventStream() {
        for (const bool raw : {false, true}) {
            QProcess process;
            QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
            env.insert("KESTOVAR_API_URL", sim->baseUrl());
            env.insert("KESTOVAR_API_KEY", sim->apiKey());
            process.setProcessEnvironment(env);
            process.start(QStringLiteral(KESTOVAR_CLI),
                          raw ? QStringList{"events", "--raw"} : QStringList{"events"});
            QList<QJsonObject> lines;
            auto readUntil = [&](auto done) {
                QElapsedTimer clock;
                clock.start();
                while (!done() && clock.elapsed() < 10'000) {
                    process.waitForReadyRead(100);
                    while (process.canReadLine())
                        lines.append(QJsonDocument::fromJson(process.readLine()).object());
                }
                return done();
            };
            QVERIFY(readUntil([&] { return lines.contains(QJsonObject{{"state", "connected"}}); }));
            sim->publishEvent("visitor.online", "p2", std::nullopt,
                              {{"project_name", "Bluebell Dental Concierge"}, {"notify", true}});
            QVERIFY(readUntil([&] { return lines.size() >= 3 && lines.last().size() > 1; }));
            if (raw) {
                QCOMPARE(lines.last()["event"].toString(), u"visitor.online"_qs);
                QCOMPARE(lines.last()["id"].toString(), u"%1"_qs.arg(raw ? 2 : 1));
                QVERIFY(lines.last()["data"].toString().contains("\"type\":\"visitor.online\""));
            } else {
                QCOMPARE(lines.last(), (QJsonObject{{"kind", "visitorOnline"},
                                                    {"type", "visitor.online"},
                                                    {"projectID", "p2"},
                                                    {"notify", true},
                                                    {"title", "Bluebell Dental Concierge"},
                                                    {"body", "A visitor is browsing your site."}}));
            }
            QVERIFY(lines.contains(QJsonObject{{"catchUp", true}}));
            process.terminate(); // SIGTERM
            QVERIFY(process.waitForFinished(10'000));
            QCOMPARE(process.exitStatus(), QProcess::NormalExit);
            QCOMPARE(process.exitCode(), 0);
        }

        const Run rejected = cli({"events"}, "wrong-key");
        QCOMPARE(rejected.exitCode, 1);
        QVERIFY(rejected.lines.contains(QJsonObject{{"unauthorized", true}}));
    }

    void demoSignsInThroughTheExchange() {
        const Run demo = cli({"--demo", "me"}, QString());
        QCOMPARE(demo.exitCode, 0);
        QCOMPARE(demo.lines[0]["email"].toString(), u"alex@kestovar.example"_qs);
    }

    void signInStoresTheKey() {
        if (qEnvironmentVariableIsEmpty("DBUS_SESSION_BUS_ADDRESS"))
            QSKIP("needs the headless desktop session (scripts/test)");
        const QString code = sim->approve("cli-state");
        const Run signIn = cli({"sign-in", "--code", code, "--state", "cli-state"}, QString());
        QCOMPARE(signIn.exitCode, 0);
        QCOMPARE(signIn.lines[0]["email"].toString(), u"alex@kestovar.example"_qs);
        QCOMPARE(cli({"me"}, QString()).exitCode, 0); // with the stored key

        QCOMPARE(cli({"sign-out"}, QString()).exitCode, 0);
        sim->clearRequests();
        const Run after = cli({"me"}, QString());
        QCOMPARE(after.exitCode, 1);
        QCOMPARE(after.err, u"Not signed in.\n"_qs);
        QVERIFY(sim->requests().isEmpty());
    }
};

QTEST_GUILESS_MAIN(TestCli)
#include "tst_cli.moc"
