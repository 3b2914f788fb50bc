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
// reconnects. The console under test runs in a process of its own, so that
// the memory and CPU reported are its alone (the service, the ledger and the
// notification server stay here): its core, or with --window the real main
// window (software rendering) with a scripted operator who switches sections
// every 20 s (twice the interval), opens conversations and types drafts.
// After the soak the account goes still and the console's idle CPU is
// measured for a minute. Run inside the headless session:
//   scripts/headless-session build-rel/bench/bench_soak --minutes 480 [--interval-ms 10000]
//   [--window] [--check]
// A shorter interval is an accelerated run: the back-off shrinks in proportion.
// --check exits 1 unless nothing was lost, duplicated or resumed wrongly.

#include "DesktopServices.h"
#include "DraftStore.h"
#include "FakeNotificationServer.h"
#include "FreedesktopNotifier.h"
#include "ObjectLookup.h"
#include "QmlRegistration.h"
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
#include <QGuiApplication>
#include <QJsonDocument>
#include <QJsonObject>
#include <QLoggingCategory>
#include <QNetworkAccessManager>
#include <QProcess>
#include <QQmlApplicationEngine>
#include <QQuickItem>
#include <QQuickWindow>
#include <QRegularExpression>
#include <QSet>
#include <QSettings>
#include <QTemporaryDir>
#include <QTimer>

#include <unistd.h>

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
        if (!frame.contains(kMarker))
            return; // the scenario's events are not counted
        const qsizetype data = frame.indexOf("\ndata: ");
        const QJsonObject envelope =
            QJsonDocument::fromJson(frame.mid(data + 7).trimmed()).object();
        const int number = envelope["data"]["preview"].toString().mid(int(strlen(kMarker))).toInt();
        if (!live) { // catch-up is never notified
            std::lock_guard lock(m_mutex);
            m_whyNot[number] = "sent during catch-up";
            return;
        }
        const QString conversation = envelope["conversation_id"].toString();
        const bool muted = m_muted.contains(envelope["project_id"].toString());

        std::lock_guard lock(m_mutex);
        const auto now = SteadyClock::now();
        const auto window = Timing::current().conversationThrottle;
        const auto through = m_lastThrough.find(conversation);
        if (through != m_lastThrough.end() && now - through->second < window) {
            ++counts.live;
            ++counts.throttled;
            m_whyNot[number] = "throttled";
            return; // a suppressed repeat does not extend the window
        }
        m_lastThrough[conversation] = now;
        std::erase_if(m_lastThrough, [&](const auto& e) { return now - e.second > 2 * window; });
        if (m_expected.size() <= size_t(number))
            m_expected.resize(size_t(number) + 1, false);
        ++counts.live;
        if (muted) {
            ++counts.muted;
            m_whyNot[number] = "muted agent";
        } else
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

    // Why a marked event was not expected to notify, as its last delivery had it.
    QString whyNot(int number) const {
        std::lock_guard lock(m_mutex);
        return QString::fromLatin1(m_whyNot.count(number) ? m_whyNot.at(number) : "never sent");
    }

private:
    const QSet<QString> m_muted;
    mutable std::mutex m_mutex;
    std::map<QString, SteadyClock::time_point> m_lastThrough;
    std::vector<bool> m_expected; // by soak number
    std::map<int, const char*> m_whyNot;
    Counts counts;
};

struct Usage {
    long rssKb = 0;
    long peakKb = 0;
    long pssKb = 0; // its share of pages it shares with other processes
    double cpuMs = 0;
};

long kbField(const QByteArray& text, const char* field) {
    const qsizetype at = text.indexOf(field);
    return at < 0 ? 0
                  : text.mid(at + qsizetype(strlen(field))).trimmed().split(' ').first().toLong();
}

// The console's process.
Usage usage(qint64 pid) {
    Usage u;
    const QString proc = QStringLiteral("/proc/%1/").arg(pid);
    QFile status(proc + "status");
    if (status.open(QIODevice::ReadOnly)) {
        const QByteArray text = status.readAll();
        u.rssKb = kbField(text, "VmRSS:");
        u.peakKb = kbField(text, "VmHWM:");
    }
    QFile rollup(proc + "smaps_rollup");
    if (rollup.open(QIODevice::ReadOnly))
        u.pssKb = kbField(rollup.readAll(), "\nPss:");
    QFile stat(proc + "stat");
    if (stat.open(QIODevice::ReadOnly)) {
        // After the name (which may hold spaces): state is field 3, utime 14, stime 15.
        const QByteArray text = stat.readAll();
        const QList<QByteArray> fields = text.mid(text.lastIndexOf(')') + 2).split(' ');
        if (fields.size() > 12)
            u.cpuMs = double(fields[11].toLongLong() + fields[12].toLongLong()) * 1000.0 /
                      double(sysconf(_SC_CLK_TCK));
    }
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

constexpr char kConsoleWindow[] = "--console-window";
constexpr char kConsoleCore[] = "--console-core";

// The stream's timing in the soak, for the console in either process: a dead
// stream is noticed in at most 2 s (heartbeats come every 250 ms), so a stall
// is over well within one interval; an accelerated run (a shorter interval)
// shortens the watchdog and the reconnect back-off in proportion, keeping
// its doubling, so that reconnects come that much faster. Returns how long a
// stall lasts: just past the watchdog.
int applySoakStreamTiming(int intervalMs) {
    Timing& t = Timing::current();
    t.sseWatchdog = std::chrono::milliseconds(std::min(2000, intervalMs / 2));
    if (intervalMs < 10'000) {
        const auto scaled = [&](std::chrono::milliseconds d) {
            return std::chrono::milliseconds(d.count() * intervalMs / 10'000);
        };
        t.sseInitialBackoff = scaled(t.sseInitialBackoff);
        t.sseMaxBackoff = scaled(t.sseMaxBackoff);
        t.sseJitterMax = scaled(t.sseJitterMax);
    }
    return int(t.sseWatchdog.count()) + 500;
}

// The real main window, signed in to the soak's service as a returning user,
// its notifications going to the soak's server. A scripted operator moves on
// every `stepMs` (20 s, twice the stream's interval; less in an accelerated
// run): the next section and, in the inbox, another conversation with a
// draft typed into it; after `operateMs` the operator leaves and the window
// stays still. Prints "console: signed in" once the inbox shows.
int runConsoleWindow(int argc, char** argv, const QStringList& args) {
    QGuiApplication app(argc, argv);
    QLoggingCategory::setFilterRules("*.info=false\n*.warning=false");
    const QString url = args.value(0), key = args.value(1), service = args.value(2);
    const qint64 operateMs = args.value(3).toLongLong();
    const int stepMs = args.value(4).toInt();
    applySoakStreamTiming(stepMs / 2);
    qputenv(Configuration::kApiUrlVariable, url.toUtf8());
    QTemporaryDir dir;
    QSettings settings(dir.filePath("prefs.ini"), QSettings::IniFormat);
    QNetworkAccessManager network;
    MemoryCredentialStore store;
    QCoro::waitFor(store.save(key));
    FreedesktopNotifier notifier(QDBusConnection::sessionBus(), service);
    NotificationManager manager(&notifier, &settings);
    AppState::Dependencies deps;
    deps.network = &network;
    deps.credentials = &store;
    deps.settings = &settings;
    deps.notifications = &manager;
    AppState state(deps);
    DraftStore drafts(&state, dir.filePath("drafts"));
    DraftStore::setInstance(&drafts);
    DesktopServices desktop({&settings, nullptr, &manager});
    DesktopServices::setInstance(&desktop);
    registerQmlTypes(&state);
    QQmlApplicationEngine engine;
    engine.addImportPath("qrc:/");
    engine.load(QUrl("qrc:/Kestovar/shell/Main.qml"));
    auto* window = qobject_cast<QQuickWindow*>(engine.rootObjects().value(0));
    if (!window)
        return 2;
    window->show();
    QCoro::waitFor(state.bootstrap());
    const auto item = [&](const char* name) {
        return qobject_cast<QQuickItem*>(
            findObjectByName(window->contentItem(), QString::fromLatin1(name)));
    };
    spinUntil([&] { return item("conversationList") != nullptr; }, 60'000);
    std::printf("console: signed in\n");
    std::fflush(stdout);

    int step = 0;
    QElapsedTimer operating;
    operating.start();
    QTimer operatorTimer;
    QObject::connect(&operatorTimer, &QTimer::timeout, [&] {
        if (operating.elapsed() > operateMs) {
            operatorTimer.stop();
            state.setSelectedSection(AppSection::inbox);
            // The still account beats every 15 s: the next connection keeps
            // the shipped watchdog.
            Timing::current().sseWatchdog = Timing().sseWatchdog;
            return;
        }
        constexpr AppSection kSections[] = {AppSection::inbox, AppSection::visitors,
                                            AppSection::stats, AppSection::settings};
        state.setSelectedSection(kSections[++step % 4]);
        if (state.selectedSection() != AppSection::inbox || state.conversations().isEmpty())
            return;
        const Conversation& c = state.conversations().at(step % state.conversations().size());
        state.setSelectedConversationID(c.id);
        QTimer::singleShot(2000, window, [&, step] {
            if (QQuickItem* editor = item("composerEditor"))
                editor->setProperty("text", QStringLiteral("A draft, step %1").arg(step));
        });
    });
    operatorTimer.start(stepMs);
    return app.exec();
}

// The console's core without a window, signed in to the soak's service as a
// returning user, its notifications going to the soak's server; after
// `operateMs` the next connection keeps the shipped watchdog, as the window's
// does. Prints "console: signed in" once bootstrapped.
int runConsoleCore(int argc, char** argv, const QStringList& args) {
    QCoreApplication app(argc, argv);
    QLoggingCategory::setFilterRules("*.info=false\n*.warning=false");
    const QString url = args.value(0), key = args.value(1), service = args.value(2);
    const qint64 operateMs = args.value(3).toLongLong();
    applySoakStreamTiming(args.value(4).toInt() / 2);
    qputenv(Configuration::kApiUrlVariable, url.toUtf8());
    FreedesktopNotifier notifier(QDBusConnection::sessionBus(), service);
    bench::SignedInCore core(key, &notifier);
    std::printf("console: signed in\n");
    std::fflush(stdout);
    QTimer::singleShot(std::chrono::milliseconds(operateMs), &app,
                       [] { Timing::current().sseWatchdog = Timing().sseWatchdog; });
    return app.exec();
}

} // namespace

int main(int argc, char** argv) {
    if (argc > 1 &&
        (qstrcmp(argv[1], kConsoleWindow) == 0 || qstrcmp(argv[1], kConsoleCore) == 0)) {
        QStringList args;
        for (int i = 2; i < argc; ++i)
            args.append(QString::fromLocal8Bit(argv[i]));
        return qstrcmp(argv[1], kConsoleWindow) == 0 ? runConsoleWindow(1, argv, args)
                                                     : runConsoleCore(1, argv, args);
    }
    QCoreApplication app(argc, argv);
    QLoggingCategory::setFilterRules("*.info=false\n*.warning=false");

    QCommandLineParser parser;
    const QCommandLineOption minutesOption("minutes", "How long to run.", "minutes", "2");
    const QCommandLineOption intervalOption("interval-ms", "How often the stream is closed.", "ms",
                                            "10000");
    const QCommandLineOption agentsOption("agents", "Agents on the account.", "n", "60");
    const QCommandLineOption checkOption("check", "Exit 1 on anything lost, doubled or misread.");
    const QCommandLineOption windowOption(
        "window", "Soak the real main window, in a process of its own, with a scripted operator.");
    parser.addOptions({minutesOption, intervalOption, agentsOption, checkOption, windowOption});
    parser.addHelpOption();
    parser.process(app);
    const double minutes = parser.value(minutesOption).toDouble();
    const int intervalMs = std::max(2000, parser.value(intervalOption).toInt());

    if (!QDBusConnection::sessionBus().isConnected()) {
        std::fprintf(stderr, "bench_soak: no session bus (run it in scripts/headless-session)\n");
        return 2;
    }

    const int stallMs = applySoakStreamTiming(intervalMs);

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
    // Two agents muted (as the service has it when the console signs in): their
    // events start the throttle window but post nothing.
    const QSet<QString> muted{projects[1].first, projects[4].first};
    sim.withData([&](sim::SimData& data) {
        for (const QString& id : muted) {
            auto pref = std::find_if(data.prefs.begin(), data.prefs.end(),
                                     [&](const sim::SimPref& p) { return p.projectId == id; });
            if (pref == data.prefs.end())
                pref = data.prefs.insert(data.prefs.end(), sim::SimPref{id});
            pref->muted = true;
        }
        return 0;
    });
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
    // The console under test, in a process of its own: the core, or the window.
    const bool windowed = parser.isSet(windowOption);
    QProcess console;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert("QT_QUICK_BACKEND", "software");
    if (env.contains("DISPLAY")) // the session's Xvfb: a real X window
        env.insert("QT_QPA_PLATFORM", "xcb");
    console.setProcessEnvironment(env);
    console.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    console.start(QCoreApplication::applicationFilePath(),
                  {windowed ? kConsoleWindow : kConsoleCore, sim.baseUrl(), sim.apiKey(),
                   server.serviceName(), QString::number(qint64(minutes * 60'000)),
                   QString::number(2 * intervalMs)});
    QByteArray said;
    spinUntil(
        [&] {
            said += console.readAllStandardOutput();
            return said.contains("console: signed in") || console.state() == QProcess::NotRunning;
        },
        90'000);
    if (!said.contains("console: signed in")) {
        std::fprintf(stderr, "bench_soak: the console did not sign in\n");
        return 2;
    }
    const qint64 consolePid = console.processId();

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
            QStringList unexpectedWhy;
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
            if (!want && got > 0 && t.unexpectedWhy.size() < 5)
                t.unexpectedWhy.append(
                    QStringLiteral("#%1 (%2)").arg(n).arg(ledger.whyNot(int(n))));
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

    std::printf("soak%s: %.1f min, stream closed every %d ms, %d agents (2 muted), an event with "
                "notify every %d ms\n",
                windowed
                    ? " of the window (its own process, an operator step every twice the interval)"
                    : "",
                minutes, intervalMs, int(projects.size()), kEventEveryMs);
    std::fflush(stdout);
    const Usage start = usage(consolePid);
    Usage atOneMinute;
    Usage atTenMinutes;
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
        const Usage now = usage(consolePid);
        if (minute == 1)
            atOneMinute = now;
        if (minute == std::min(10, int(minutes))) // memory is judged from minute 10 on
            atTenMinutes = now;
        const auto t = tally(published - 20);
        std::printf(
            "minute %d: rss %ld kB, pss %ld kB, peak %ld kB, cpu %.0f ms, "
            "reconnects %lld, notifications expected %lld delivered %lld lost %lld duplicate %lld "
            "unexpected %lld, other %lld\n",
            minute, now.rssKb, now.pssKb, now.peakKb, now.cpuMs - previous.cpuMs,
            sim.streamConnections().size() - 1, t.expected, t.delivered, t.lost, t.duplicate,
            t.unexpected, otherNotifications);
        std::fflush(stdout);
        previous = now;
    }

    // Settle: no more closes; one last marked event, sent live, must arrive
    // before the ledger is read (a positive barrier for everything before it).
    closing.stop();
    events.stop();
    // A stalled stream still counts as open but carries nothing: after a last
    // close that stalled, wait for the connection that replaces it.
    if (closes > 0 && (closes - 1) % 3 == 2) {
        const qsizetype stalledAt = sim.streamConnections().size();
        spinUntil([&] { return sim.streamConnections().size() > stalledAt; }, 30'000);
    }
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
    const Usage end = usage(consolePid);
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
    if (!t.unexpectedWhy.isEmpty())
        std::printf("  unexpected, with what the service saw: %s\n",
                    qPrintable(t.unexpectedWhy.join(QStringLiteral(", "))));
    std::printf("  stream connections %lld (reconnects %lld; closes %d, skipped %d), resume ids "
                "differing from the last id delivered: %d\n",
                connections, connections - 1, closes, skipped, wrongResumes);
    std::printf("  peak RSS at 1 min %ld kB, at the end %ld kB (%+.1f %%)\n", atOneMinute.peakKb,
                end.peakKb, growth);
    const auto change = [](long from, long to) {
        return from > 0 ? 100.0 * double(to - from) / double(from) : 0.0;
    };
    std::printf("  the console's own RSS from minute 1 %ld kB to the end %ld kB (%+.1f %%)\n",
                atOneMinute.rssKb, end.rssKb, change(atOneMinute.rssKb, end.rssKb));
    std::printf("  RSS at minute %d %ld kB, at the end %ld kB (%+.1f %%); PSS %ld kB → %ld kB "
                "(%+.1f %%)\n",
                std::min(10, int(minutes)), atTenMinutes.rssKb, end.rssKb,
                change(atTenMinutes.rssKb, end.rssKb), atTenMinutes.pssKb, end.pssKb,
                change(atTenMinutes.pssKb, end.pssKb));
    std::printf("  CPU %.0f ms per minute on average\n",
                (end.cpuMs - start.cpuMs) / std::max(1.0, double(elapsed.elapsed()) / 60'000.0));
    std::fflush(stdout);

    // Still: nothing happens on the account, the stream only keeps its beat (as
    // the service's does, every 15 s), the operator has left. A minute of that.
    sim.setScenarioSpeed(0);
    sim.setHeartbeatInterval(15'000);
    QElapsedTimer quiet;
    quiet.start();
    spinUntil([&] { return quiet.elapsed() > 15'000; }, 16'000);
    const Usage idleFrom = usage(consolePid);
    quiet.restart();
    spinUntil([&] { return quiet.elapsed() > 60'000; }, 61'000);
    const Usage idleTo = usage(consolePid);
    std::printf("  idle CPU on a still account (%s): %.3f %% of a core over %.0f s\n",
                windowed ? "the window process alone" : "the console core's process alone",
                100.0 * (idleTo.cpuMs - idleFrom.cpuMs) / double(quiet.elapsed()),
                double(quiet.elapsed()) / 1000.0);
    std::fflush(stdout);

    console.terminate();
    console.waitForFinished(10'000);
    const bool sound = barrier && t.lost == 0 && t.duplicate == 0 && t.unexpected == 0 &&
                       wrongResumes == 0 && closes > 0;
    return parser.isSet(checkOption) && !sound ? 1 : 0;
}
