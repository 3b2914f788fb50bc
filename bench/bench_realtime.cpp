// From an event frame written by the simulated service to the notification
// leaving the process, over 1 000 events with varied throttle keys (p50,
// p99); and how many REST requests a burst of 100 events in one second
// causes; then the CPU time of 60 s of idleness with the stream open
// (KESTOVAR_BENCH_IDLE_SECONDS changes the length). Run inside the headless session:
//   scripts/headless-session build/bench/bench_realtime

#include "FreedesktopNotifier.h"
#include "SignedInCore.h"
#include "SimServer.h"
#include "Timing.h"
#include "notifications/NotificationManager.h"
#include "platform/CredentialStore.h"
#include "service/Configuration.h"
#include "state/AppState.h"

#include <QCoreApplication>
#include <QCoroTask>
#include <QDBusConnection>
#include <QLoggingCategory>
#include <QNetworkAccessManager>
#include <QSettings>
#include <QTemporaryDir>
#include <QTimer>

#include <sys/resource.h>

#include <chrono>
#include <cstdio>

using namespace kv;
using Clock = std::chrono::steady_clock;

namespace {

// Notes when each notification is handed to the desktop, then hands it on.
class Stopwatch final : public Notifier {
public:
    explicit Stopwatch(Notifier* inner) : m_inner(inner) {}
    QList<Clock::time_point> posts;

    QCoro::Task<NotificationPermission> requestAuthorization() override {
        return m_inner->requestAuthorization();
    }
    QCoro::Task<NotificationPermission> currentAuthorization() override {
        return m_inner->currentAuthorization();
    }
    QCoro::Task<std::optional<QString>> post(NotificationRequest request) override {
        auto task = m_inner->post(std::move(request)); // the D-Bus call is sent here
        posts.append(Clock::now());
        return task;
    }

private:
    Notifier* m_inner;
};

void spin(int ms) {
    QEventLoop loop;
    QTimer::singleShot(ms, &loop, &QEventLoop::quit);
    loop.exec();
}

// CPU time of this process (the console's core and the simulator) so far.
double cpuMs() {
    rusage r{};
    getrusage(RUSAGE_SELF, &r);
    return double(r.ru_utime.tv_sec + r.ru_stime.tv_sec) * 1000.0 +
           double(r.ru_utime.tv_usec + r.ru_stime.tv_usec) / 1000.0;
}

double percentile(QList<double> values, double p) {
    std::sort(values.begin(), values.end());
    return values[qsizetype(p * double(values.size() - 1))];
}

} // namespace

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    QLoggingCategory::setFilterRules("*.info=false");

    sim::SimConfig config;
    config.heartbeatMs = 100;
    sim::SimServer sim(config);
    sim.start();
    qputenv(Configuration::kApiUrlVariable, sim.baseUrl().toUtf8());

    const bool bus = QDBusConnection::sessionBus().isConnected();
    FreedesktopNotifier desktop;
    bench::Nowhere nowhere;
    Stopwatch stopwatch(bus ? static_cast<Notifier*>(&desktop) : &nowhere);
    bench::SignedInCore core(sim.apiKey(), &stopwatch);
    AppState& state = core.state;
    while (state.notificationsSuppressed())
        spin(20);

    // Latency: one event at a time, each its own conversation (its own throttle key).
    QList<double> latencies;
    for (int i = 0; i < 1000; ++i) {
        const qsizetype before = stopwatch.posts.size();
        const auto sent = Clock::now();
        sim.publishEvent("conversation.escalated", "p1", QStringLiteral("bench_%1").arg(i),
                         {{"project_name", "Northwind Support"}, {"notify", true}});
        while (stopwatch.posts.size() == before)
            QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents, 5);
        latencies.append(
            std::chrono::duration<double, std::milli>(stopwatch.posts.last() - sent).count());
    }
    std::printf("event frame -> notification handed to %s: p50 %.3f ms, p99 %.3f ms, max %.3f ms "
                "(1000 events)\n",
                bus ? "D-Bus" : "the notifier", percentile(latencies, 0.5),
                percentile(latencies, 0.99), percentile(latencies, 1.0));

    // A burst: 100 events within one second should cost one refresh.
    spin(int(Timing::current().realtimeDebounce.count()) * 3);
    sim.clearRequests();
    for (int i = 0; i < 100; ++i) {
        sim.publishEvent("message.received", "p2", QStringLiteral("burst_%1").arg(i),
                         {{"preview", "hi"}, {"notify", true}});
        spin(10);
    }
    spin(int(Timing::current().realtimeDebounce.count()) * 4);
    QMap<QString, int> byPath;
    for (const QJsonValue& r : sim.requests())
        ++byPath[r.toObject()["path"].toString()];
    std::printf("burst of 100 events in 1 s -> %lld REST requests:", sim.requests().size());
    for (auto it = byPath.begin(); it != byPath.end(); ++it)
        std::printf(" %s×%d", qPrintable(it.key()), it.value());
    std::printf("\n");

    // Idle: signed in, the stream open with the service's usual heartbeat, the
    // poll loop running, nothing happening.
    sim.setHeartbeatInterval(15'000);
    spin(2'000);
    const int idleSeconds = qEnvironmentVariableIntValue("KESTOVAR_BENCH_IDLE_SECONDS") > 0
                                ? qEnvironmentVariableIntValue("KESTOVAR_BENCH_IDLE_SECONDS")
                                : 60;
    const double before = cpuMs();
    spin(idleSeconds * 1000);
    const double idle = cpuMs() - before;
    std::printf("idle %d s with the stream open: CPU %.0f ms (%.2f %% of one core)\n", idleSeconds,
                idle, idle / (idleSeconds * 10.0));
    state.signOut();
    return 0;
}
