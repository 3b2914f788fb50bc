// kestovar-sim: the simulated service, on a loopback port, until interrupted.

#include "SimServer.h"

#include <QCommandLineParser>
#include <QCoreApplication>

#include <csignal>
#include <cstdio>

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    QCoreApplication::setApplicationName(QStringLiteral("kestovar-sim"));

    QCommandLineParser parser;
    parser.setApplicationDescription(
        QStringLiteral("Serves a simulated Kestovar service on 127.0.0.1."));
    parser.addHelpOption();
    const QCommandLineOption portOption("port", "Port to listen on (0: any free one).", "port",
                                        "0");
    const QCommandLineOption seedOption("seed", "Seed of the generated data.", "seed", "1");
    const QCommandLineOption agentsOption("agents", "Number of agents.", "count", "7");
    const QCommandLineOption conversationsOption(
        "conversations", "Conversations per agent (0: three to six each).", "count", "0");
    const QCommandLineOption visitorsOption(
        "visitors", "Live visitors over all agents (0: none to four each).", "count", "0");
    const QCommandLineOption keyOption("api-key", "API key accepted without signing in.", "key",
                                       "sim-demo-key");
    const QCommandLineOption speedOption(
        "speed", "Scenario clock: 0 keeps the account still, 1 is lively.", "factor", "0");
    const QCommandLineOption heartbeatOption("heartbeat-ms", "Event stream heartbeat interval.",
                                             "ms", "15000");
    const QCommandLineOption hostileOption(
        "hostile",
        "Fill every text of the account with hostile strings (markup, images, "
        "script links, control characters) whose images point under the origin given.",
        "origin");
    parser.addOptions({portOption, seedOption, agentsOption, conversationsOption, visitorsOption,
                       keyOption, speedOption, heartbeatOption, hostileOption});
    parser.process(app);

    bool ok = true;
    kv::sim::SimConfig config;
    config.data.seed = parser.value(seedOption).toULongLong(&ok);
    if (ok)
        config.data.agents = parser.value(agentsOption).toInt(&ok);
    if (ok)
        config.data.conversationsPerAgent = parser.value(conversationsOption).toInt(&ok);
    if (ok)
        config.data.visitors = parser.value(visitorsOption).toInt(&ok);
    const int port = ok ? parser.value(portOption).toInt(&ok) : 0;
    if (ok)
        config.speed = parser.value(speedOption).toDouble(&ok);
    if (ok)
        config.heartbeatMs = parser.value(heartbeatOption).toInt(&ok);
    if (!ok || config.data.agents < 1 || config.data.conversationsPerAgent < 0 ||
        config.data.visitors < 0 || port < 0 || port > 65535) {
        std::fprintf(stderr, "kestovar-sim: --port, --seed, --agents, --conversations, --visitors, "
                             "--speed and --heartbeat-ms take numbers\n");
        return 2;
    }
    config.apiKey = parser.value(keyOption);
    if (parser.isSet(hostileOption)) {
        config.hostile = true;
        config.beacon = parser.value(hostileOption);
    }

    // Signals are taken synchronously below, so block them before any thread starts.
    sigset_t stopSignals;
    sigemptyset(&stopSignals);
    sigaddset(&stopSignals, SIGINT);
    sigaddset(&stopSignals, SIGTERM);
    pthread_sigmask(SIG_BLOCK, &stopSignals, nullptr);

    kv::sim::SimServer server(config);
    if (server.start(port) < 0) {
        std::fprintf(stderr, "kestovar-sim: cannot listen on 127.0.0.1:%d\n", port);
        return 1;
    }
    std::printf("kestovar-sim listening on %s (api key: %s)\n", qPrintable(server.baseUrl()),
                qPrintable(server.apiKey()));
    std::fflush(stdout);

    int received = 0;
    sigwait(&stopSignals, &received);
    server.stop();
    return 0;
}
