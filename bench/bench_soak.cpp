// Soak: the console's core — state, event stream, notifications over D-Bus —
// signed in to the simulated service (many agents, scenario clock fast) for a
// number of minutes while the service closes the stream every interval,
// alternating a clean end, a drop in the middle of a frame and a stall long
// enough for the watchdog; every fifth reconnect is answered with a 503 first.
//
// The service also sends its own marked events with `notify`, and records, as
// each one goes out, whether a notification must follow: sent after the
// connection's first heartbeat (outside catch-up), not within the throttle
// window of its conversation, not for a muted agent. The notification server
// on the session bus counts what arrives. Reported: lost and duplicate
// notifications, resume ids against the ids delivered, RSS and CPU per minute,
// reconnects. Run inside the headless session:
//   scripts/headless-session build-rel/bench/bench_soak --minutes 480 [--interval-ms 10000]
//   [--check]
// A shorter interval is an accelerated run: the back-off shrinks in proportion.
// --check exits 1 unless nothing was lost, duplicated or resumed wrongly.

#include "FakeNotificationServer.h"
#include "FreedesktopNotifier.h"
#include "SignedInCore.h"
#include "SimServer.h"
#include "Timing.h"
#include "notifications/NotificationManager.h"
#include "platform/CredentialStore.h"
#include "service/Configuration.h"
#include "state/AppState.h"

#include <QCommandLineParser>
#include <QCoreApplication>
#include <QCoroTask>
#include <QDBusConnection>
#include <QElapsedTimer>
#include <QFile>
#include <QJsonDocument>
#include <QJsonObject>
#include <QLoggingCategory>
#include <QNetworkAccessManager>
#include <QRegularExpression>
#include <QSet>
#include <QSettings>
#include <QTemporaryDir>
#include <QTimer>

#include <malloc.h>
#include <sys/resource.h>

#include <chrono>
#include <cstdio>
#include <map>
#include <mutex>
#include <vector>

using namespace kv;
using SteadyClock = std::chrono::steady_clock;

namespace {

constexpr int kEventEveryMs = 500; // heartbeats every 250 ms fall between them
constexpr int kHeartbeatMs = 250;
constexpr int kRepeatEvery = 7; // every 7th event repeats the previous conversation: throttled
constexpr char kMarker[] = "soak #";

// What must follow each marked event, decided as the service writes it (on
// the server's threads): a notification when it goes out live, outside the
// throttle window of its conversation, for an agent that is not muted.
class Ledger {
public:
    explicit Ledger(QSet<QString> muted) : m_muted(std::move(muted)) {}

    void delivered(const QByteArray& frame, bool live) {
        if (!live || !frame.contains(kMarker))
            return; // catch-up is never notified; the scenario's events are not counted
        const qsizetype data = frame.indexOf("\ndata: ");
        const QJsonObject envelope =
            QJsonDocument::fromJson(frame.mid(data + 7).trimmed()).object();
        const int number = envelope["data"]["preview"].toString().mid(int(strlen(kMarker))).toInt();
        const QString conversation = envelope["conversation_id"].toString();
        const bool muted = m_muted.contains(envelope["project_id"].toString());

        std::lock_guard lock(m_mutex);
        const auto now = SteadyClock::now();
        const auto window = Timing::current().conversationThrottle;
        const auto through = m_lastThrough.find(conversation);
        if (through != m_lastThrough.end() && now - through->second < window) {
            ++counts.live;
            ++counts.throttled;
            return; // a suppressed repeat does not extend the window
        }
        m_lastThrough[conversation] = now;
        std::erase_if(m_lastThrough, [&](const auto& e) { return now - e.second > 2 * window; });
        if (m_expected.size() <= size_t(number))
            m_expected.resize(size_t(number) + 1, false);
        ++counts.live;
        if (muted)
            ++counts.muted;
        else
            m_expected[size_t(number)] = true;
    }

    struct Counts {
        qint64 live = 0, throttled = 0, muted = 0;
    };
    Counts sentLive() const {
        std::lock_guard lock(m_mutex);
        return counts;
    }

    std::vector<bool> expected() const {
        std::lock_guard lock(m_mutex);
        return m_expected;
    }

private:
    const QSet<QString> m_muted;
    mutable std::mutex m_mutex;
    std::map<QString, SteadyClock::time_point> m_lastThrough;
    std::vector<bool> m_expected; // by soak number
    Counts counts;
};

struct Usage {
    long rssKb = 0;
    long peakKb = 0;
    long heapKb = 0; // what malloc has handed out and not had back: growth here is data kept
    double cpuMs = 0;
};

Usage usage() {
    Usage u;
    QFile status(QStringLiteral("/proc/self/status"));
    if (status.open(QIODevice::ReadOnly)) {
        for (const QByteArray& line : status.readAll().split('\n')) {
            if (line.startsWith("VmRSS:"))
                u.rssKb = line.mid(6).trimmed().split(' ').first().toLong();
            else if (line.startsWith("VmHWM:"))
                u.peakKb = line.mid(6).trimmed().split(' ').first().toLong();
        }
    }
    u.heapKb = long(mallinfo2().uordblks / 1024);
    rusage r{};
    getrusage(RUSAGE_SELF, &r);
    u.cpuMs = double(r.ru_utime.tv_sec + r.ru_stime.tv_sec) * 1000.0 +
              double(r.ru_utime.tv_usec + r.ru_stime.tv_usec) / 1000.0;
    return u;
}

// Runs the event loop until `done` holds (looked at every 50 ms) or the time is up.
void spinUntil(const std::function<bool()>& done, int timeoutMs) {
    if (done())
        return;
    QEventLoop loop;
    QTimer look;
    QObject::connect(&look, &QTimer::timeout, &loop, [&] {
        if (done())
            loop.quit();
    });
    look.start(50);
    QTimer::singleShot(timeoutMs, &loop, &QEventLoop::quit);
    loop.exec();
}

} // namespace

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    QLoggingCategory::setFilterRules("*.info=false\n*.warning=false");

    QCommandLineParser parser;
    const QCommandLineOption minutesOption("minutes", "How long to run.", "minutes", "2");
    const QCommandLineOption intervalOption("interval-ms", "How often the stream is closed.", "ms",
                                            "10000");
    const QCommandLineOption agentsOption("agents", "Agents on the account.", "n", "60");
    const QCommandLineOption checkOption("check", "Exit 1 on anything lost, doubled or misread.");
    parser.addOptions({minutesOption, intervalOption, agentsOption, checkOption});
    parser.addHelpOption();
    parser.process(app);
    const double minutes = parser.value(minutesOption).toDouble();
    const int intervalMs = std::max(3000, parser.value(intervalOption).toInt());

    if (!QDBusConnection::sessionBus().isConnected()) {
        std::fprintf(stderr, "bench_soak: no session bus (run it in scripts/headless-session)\n");
        return 2;
    }

    // A dead stream is noticed in 2 s here (heartbeats come every 250 ms), so a
    // stall is over well within one interval.
    Timing::current().sseWatchdog = std::chrono::milliseconds(2000);
    const int stallMs = 2500;
    // An accelerated run (a shorter interval) shortens the reconnect back-off in
    // proportion, keeping its doubling, so that reconnects come that much faster.
    if (intervalMs < 10'000) {
        Timing& t = Timing::current();
        const auto scaled = [&](std::chrono::milliseconds d) {
            return std::chrono::milliseconds(d.count() * intervalMs / 10'000);
        };
        t.sseInitialBackoff = scaled(t.sseInitialBackoff);
        t.sseMaxBackoff = scaled(t.sseMaxBackoff);
        t.sseJitterMax = scaled(t.sseJitterMax);
    }

    sim::SimConfig config;
    config.data.agents = parser.value(agentsOption).toInt();
    config.heartbeatMs = kHeartbeatMs;
    config.speed = 10; // something happens every 400 ms
    sim::SimServer sim(config);
    sim.start();
    qputenv(Configuration::kApiUrlVariable, sim.baseUrl().toUtf8());
    const auto [projects, initialVisitors] = sim.withData([](sim::SimData& data) {
        QList<QPair<QString, QString>> list;
        for (const auto& p : data.projects)
            list.append({p.id, p.name});
        return std::pair{list, data.visitors.size()};
    });
    // Two agents muted: their events start the throttle window but post nothing.
    const QSet<QString> muted{projects[1].first, projects[4].first};
    Ledger ledger(muted);
    sim.setStreamDeliveryObserver([&ledger](const QString&, const QByteArray& frame, bool live) {
        ledger.delivered(frame, live);
    });

    test::FakeNotificationServer server(
        QStringLiteral("com.kestovar.Soak.n%1").arg(QCoreApplication::applicationPid()),
        {QStringLiteral("body"), QStringLiteral("actions")});
    if (!server.isRegistered()) {
        std::fprintf(stderr, "bench_soak: could not register a notification server\n");
        return 2;
    }
    FreedesktopNotifier desktop(QDBusConnection::sessionBus(), server.serviceName());
    bench::SignedInCore core(sim.apiKey(), &desktop);
    AppState& state = core.state;
    for (const QString& id : muted)
        QCoro::waitFor(state.setProjectMuted(id, true));

    // The notifications that arrive, by soak number; everything else counted apart.
    std::vector<int> received;
    qint64 otherNotifications = 0;
    const QRegularExpression marked(QStringLiteral("soak #(\\d+)"));
    // Read, then closed as a server closes them when they expire (so that the
    // notifier may forget them, as it does with a real server).
    const auto drainNotifications = [&] {
        const QList<test::NotifyCall> calls = std::exchange(server.calls, {});
        for (const test::NotifyCall& call : calls)
            server.close(call.id);
        for (const test::NotifyCall& call : calls) {
            const auto match = marked.match(call.body);
            if (!match.hasMatch()) {
                ++otherNotifications;
                continue;
            }
            const size_t n = match.captured(1).toULongLong();
            if (received.size() <= n)
                received.resize(n + 1, 0);
            ++received[n];
        }
    };

    // The service's own marked events with notify.
    int published = 0;
    QString previousConversation;
    const auto publish = [&](bool fresh) {
        const int n = published++;
        const auto& project = projects[n % projects.size()];
        const QString conversation = !fresh && n % kRepeatEvery == kRepeatEvery - 1
                                         ? previousConversation
                                         : QStringLiteral("soak_%1").arg(n);
        previousConversation = conversation;
        sim.publishEvent(QStringLiteral("conversation.escalated"), project.first, conversation,
                         {{"project_name", project.second},
                          {"visitor_name", "Soak"},
                          {"preview", kMarker + QString::number(n)},
                          {"notify", true}});
        return n;
    };

    // The stream is closed every interval: end, drop, stall in turn; every
    // fifth close is followed by a 503 before the reconnect succeeds.
    int closes = 0;
    int skipped = 0;
    const auto closeStream = [&] {
        if (sim.openStreams() != 1) {
            ++skipped; // still reconnecting (or a stalled one not yet cut): next time
            return;
        }
        if (closes % 5 == 4)
            sim.failNextStreams(503, 1);
        switch (closes++ % 3) {
        case 0:
            sim.endStreams();
            break;
        case 1:
            sim.dropStreams();
            break;
        default:
            sim.stallStreams(stallMs);
            break;
        }
    };

    // The account stays the same size on average: the scenario adds visitors
    // and messages faster than it removes them, and the simulator shares this
    // process, so its growth would read as the console's. Threads are kept to
    // about the length they are seeded with.
    const auto trimAccount = [&] {
        sim.withData([&](sim::SimData& data) {
            while (data.visitors.size() > initialVisitors + 20)
                data.visitors.removeFirst();
            for (auto& c : data.conversations) {
                while (c.messages.size() > 12)
                    c.messages.removeFirst();
            }
        });
        sim.clearRequests();
    };

    const auto tally = [&](qint64 settledBefore) {
        struct {
            qint64 expected = 0, delivered = 0, lost = 0, duplicate = 0, unexpected = 0;
        } t;
        const std::vector<bool> expected = ledger.expected();
        for (size_t n = 0; n < std::max(expected.size(), received.size()); ++n) {
            const bool want = n < expected.size() && expected[n];
            const int got = n < received.size() ? received[n] : 0;
            if (qint64(n) >= settledBefore && got == 0)
                continue; // may still be on its way
            t.expected += want;
            t.delivered += got > 0;
            t.lost += want && got == 0;
            t.duplicate += got > 1;
            t.unexpected += !want && got > 0;
        }
        return t;
    };

    const auto resumeMismatches = [&] {
        int wrong = 0;
        for (const QJsonValue& value : sim.streamConnections()) {
            const QJsonObject c = value.toObject();
            if (c["last_event_id"].toString() != c["delivered_before"].toString())
                ++wrong;
        }
        return wrong;
    };

    QTimer events;
    QObject::connect(&events, &QTimer::timeout, [&] { publish(false); });
    events.start(kEventEveryMs);
    QTimer closing;
    QObject::connect(&closing, &QTimer::timeout, closeStream);
    closing.start(intervalMs);
    QTimer drain;
    QObject::connect(&drain, &QTimer::timeout, drainNotifications);
    drain.start(1000);

    std::printf("soak: %.1f min, stream closed every %d ms, %d agents (2 muted), an event with "
                "notify every %d ms\n",
                minutes, intervalMs, int(projects.size()), kEventEveryMs);
    std::fflush(stdout);
    const Usage start = usage();
    Usage atOneMinute;
    Usage previous = start;
    QElapsedTimer elapsed;
    elapsed.start();
    const qint64 total = qint64(minutes * 60'000);
    int minute = 0;
    while (elapsed.elapsed() < total) {
        const qint64 nextMinute = std::min(total, qint64(minute + 1) * 60'000);
        spinUntil([&] { return elapsed.elapsed() >= nextMinute; }, int(total));
        ++minute;
        trimAccount();
        drainNotifications();
        const Usage now = usage();
        if (minute == 1)
            atOneMinute = now;
        const auto t = tally(published - 20);
        std::printf(
            "minute %d: rss %ld kB, peak %ld kB, heap in use %ld kB, cpu %.0f ms, reconnects %lld, "
            "notifications expected %lld delivered %lld lost %lld duplicate %lld "
            "unexpected %lld, other %lld\n",
            minute, now.rssKb, now.peakKb, now.heapKb, now.cpuMs - previous.cpuMs,
            sim.streamConnections().size() - 1, t.expected, t.delivered, t.lost, t.duplicate,
            t.unexpected, otherNotifications);
        std::fflush(stdout);
        previous = now;
    }

    // Settle: no more closes; one last marked event, sent live, must arrive
    // before the ledger is read (a positive barrier for everything before it).
    closing.stop();
    events.stop();
    spinUntil([&] { return sim.openStreams() == 1; }, 30'000);
    QElapsedTimer settle;
    settle.start();
    spinUntil([&] { return settle.elapsed() > 2000; }, 3000); // past catch-up
    const int last = publish(true);
    spinUntil(
        [&] {
            drainNotifications();
            return received.size() > size_t(last) && received[size_t(last)] > 0;
        },
        30'000);
    const bool barrier = received.size() > size_t(last) && received[size_t(last)] > 0;
    const Usage end = usage();
    const auto t = tally(published);
    const int wrongResumes = resumeMismatches();
    const qint64 connections = sim.streamConnections().size();
    const double growth = atOneMinute.peakKb > 0 ? 100.0 * double(end.peakKb - atOneMinute.peakKb) /
                                                       double(atOneMinute.peakKb)
                                                 : 0;

    std::printf("soak done after %.1f min:\n", double(elapsed.elapsed()) / 60'000.0);
    const Ledger::Counts live = ledger.sentLive();
    std::printf("  marked events with notify published %d, sent live %lld (of those throttled "
                "%lld, muted %lld; the rest went out during catch-up only)\n",
                published, live.live, live.throttled, live.muted);
    std::printf("  notifications expected %lld, delivered %lld, lost "
                "%lld, duplicate %lld, unexpected %lld (last one %s); other notifications %lld\n",
                t.expected, t.delivered, t.lost, t.duplicate, t.unexpected,
                barrier ? "arrived" : "never arrived", otherNotifications);
    std::printf("  stream connections %lld (reconnects %lld; closes %d, skipped %d), resume ids "
                "differing from the last id delivered: %d\n",
                connections, connections - 1, closes, skipped, wrongResumes);
    std::printf("  peak RSS at 1 min %ld kB, at the end %ld kB (%+.1f %%); RSS now %ld kB; heap in "
                "use at 1 min %ld kB, at the end %ld kB\n",
                atOneMinute.peakKb, end.peakKb, growth, end.rssKb, atOneMinute.heapKb, end.heapKb);
    std::printf("  CPU %.0f ms per minute on average\n",
                (end.cpuMs - start.cpuMs) / std::max(1.0, double(elapsed.elapsed()) / 60'000.0));
    std::fflush(stdout);

    state.signOut();
    const bool sound = barrier && t.lost == 0 && t.duplicate == 0 && t.unexpected == 0 &&
                       wrongResumes == 0 && closes > 0;
    return parser.isSet(checkOption) && !sound ? 1 : 0;
}
