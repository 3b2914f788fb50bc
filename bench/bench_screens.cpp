// Live visitors, stats and settings under load, beside bare Qt Quick, in one run:
//  - 2 000 live visitors of 200 agents, every block open: the GUI thread's
//    cost of a refresh that changes nothing (decoding, the list's update, the
//    next frame), and that it makes no new row;
//  - frame time while flicking through those 2 000 rows and 200 pinned
//    headers, against the same rows and headers drawn the cheapest way and,
//    as the floor, a bare ListView of 2 000 one-text rows;
//  - the first opening of Stats with a 90-day range (the chart library's
//    loading included): the longest the window goes without a frame, and when
//    the figures and the chart appear; then a later opening, and the other
//    sections' switches, measured the same way;
//  - peak RSS after opening every section once, against the bare window, and
//    what opening Stats adds (each in a process of its own; the console's
//    uses this process's service, so its memory is the console's alone).
// Release build, offscreen software rendering:
//   scripts/headless-session build-rel/bench/bench_screens

#include "BenchConsole.h"
#include "ReferenceLists.h"
#include "shell/ProcessStats.h"

#include <QGuiApplication>
#include <QLoggingCategory>
#include <QSignalSpy>
#include <QtQml/qqmlextensionplugin.h>

#include <cstdio>

Q_IMPORT_QML_PLUGIN(KestovarPlugin)

using namespace kv;
using namespace kv::bench;

namespace {

constexpr int kAgents = 200;
constexpr int kVisitors = 2000;

QStringList bareRows() {
    QStringList rows;
    for (int i = 0; i < kVisitors; ++i)
        rows.append(QStringLiteral("Visitor %1 — https://shop.example/products/%1").arg(i));
    return rows;
}

sim::SimConfig simConfig() {
    sim::SimConfig config;
    config.data.agents = kAgents;
    config.data.conversationsPerAgent = 1;
    config.data.visitors = kVisitors;
    return config;
}

struct Console : BenchConsole {
    Console() : BenchConsole(simConfig()) {}

    // The visitors section with every block open.
    bool openAllVisitors() {
        state->setSelectedSection(AppSection::visitors);
        if (!QTest::qWaitFor([&] { return state->liveVisitors().size() == kVisitors; }, 60'000))
            return false;
        QMetaObject::invokeMethod(object("visitorsModel"), "toggleAll");
        return QTest::qWaitFor(
            [&] { return item("visitorList")->property("count").toInt() == kVisitors; });
    }
    bool openStats() {
        state->setSelectedSection(AppSection::stats);
        return QTest::qWaitFor([&] { return item("statsChart") != nullptr; }, 30'000);
    }
};

int peakOnly(const QString& which) {
    if (which == u"bare") {
        QQmlEngine engine;
        ReferenceList bare(&engine, kBareList);
        bare.show(bareRows());
        bare.window()->grabWindow();
    } else {
        Console console;
        if (!console.start() || !console.openAllVisitors())
            return 1;
        console.window()->grabWindow();
        console.state->setSelectedSection(AppSection::settings);
        if (!QTest::qWaitFor([&] { return console.item("settingsView") != nullptr; }))
            return 1;
        console.window()->grabWindow();
        if (which == u"every-section" && !console.openStats())
            return 1;
        console.window()->grabWindow();
        console.state->setSelectedSection(AppSection::inbox);
        QTest::qWait(200);
        console.window()->grabWindow();
    }
    std::printf("peak-rss=%s\n", process::field("/proc/self/status", "VmHWM:").constData());
    return 0;
}

} // namespace

int main(int argc, char** argv) {
    renderOffscreenAtOnce();
    QGuiApplication app(argc, argv);
    QLoggingCategory::setFilterRules(QStringLiteral("*.info=false\n*.warning=false"));
    const QStringList args = app.arguments();
    if (args.size() == 3 && args[1] == u"--peak")
        return peakOnly(args[2]);

    Console console;
    if (!console.start()) {
        std::fprintf(stderr, "the console did not come up\n");
        return 1;
    }
    QQuickWindow* window = console.window();

    const bool onlyRefresh = qEnvironmentVariable("KV_BENCH_ONLY") == u"refresh";
    // 1. Stats first, while the chart library is not loaded yet: the longest
    // the window went without a frame, and when the figures and the chart came.
    if (!onlyRefresh) {
        console.state->setStatsDays(90);
        QElapsedTimer opened;
        double figuresAt = -1;
        const double firstStall = longestStall(
            window,
            [&] {
                opened.start();
                console.state->setSelectedSection(AppSection::stats);
                QObject::connect(console.state.get(), &AppState::statsChanged, window,
                                 [&] { figuresAt = figuresAt < 0 ? msSince(opened) : figuresAt; });
            },
            2500);
        QObject::disconnect(console.state.get(), &AppState::statsChanged, window, nullptr);
        if (!console.item("statsChart"))
            std::fprintf(stderr, "the chart did not appear\n");
        std::printf(
            "Stats, first opening (90 days, chart library loading): longest without a frame "
            "%.1f ms (goal <= 150); figures after %.0f ms\n",
            firstStall, figuresAt);

        auto switchStall = [&](AppSection section) {
            QList<double> stalls;
            for (int round = 0; round < 5; ++round) {
                console.state->setSelectedSection(AppSection::inbox);
                settle(window);
                stalls.append(longestStall(
                    window, [&] { console.state->setSelectedSection(section); }, 600));
            }
            return median(stalls);
        };
        std::printf("switching sections, longest without a frame: Stats again %.1f ms, Settings "
                    "%.1f ms, Live visitors %.1f ms; Inbox from Stats %.1f ms\n",
                    switchStall(AppSection::stats), switchStall(AppSection::settings),
                    switchStall(AppSection::visitors), [&] {
                        QList<double> stalls;
                        for (int round = 0; round < 5; ++round) {
                            console.state->setSelectedSection(AppSection::stats);
                            settle(window);
                            stalls.append(longestStall(
                                window,
                                [&] { console.state->setSelectedSection(AppSection::inbox); },
                                600));
                        }
                        return median(stalls);
                    }());
    }

    // 2. Live visitors, every block open: a refresh that changes nothing.
    if (!console.openAllVisitors()) {
        std::fprintf(stderr, "the visitors did not show\n");
        return 1;
    }
    auto* rows = console.object("visitorsModel")->property("rows").value<QAbstractItemModel*>();
    QSignalSpy inserted(rows, &QAbstractItemModel::rowsInserted);
    QSignalSpy removed(rows, &QAbstractItemModel::rowsRemoved);
    QSignalSpy reset(rows, &QAbstractItemModel::modelReset);
    QList<double> cpu, frames;
    for (int round = 0; round < (onlyRefresh ? 60 : 15); ++round) {
        settle(window);
        const double before = threadCpuMs();
        QCoro::waitFor(console.state->loadLiveVisitors(std::nullopt));
        cpu.append(threadCpuMs() - before);
        frames.append(frameAfter(window, [] {}));
    }
    std::printf(
        "live visitors, %d in %d groups, all open: a refresh that changes nothing costs "
        "the GUI thread %.2f ms (decoding runs on a worker; goal <= 5), next frame %.2f ms; rows "
        "inserted %lld, removed %lld, resets %lld\n",
        kVisitors, kAgents, median(cpu), median(frames), qint64(inserted.size()),
        qint64(removed.size()), qint64(reset.size()));

    if (onlyRefresh)
        return 0;

    // 3. Flicking through the visitors, beside the same rows and headers drawn
    // the cheapest way, and a bare list of as many one-text rows.
    const double consoleFlick = flick(window, console.item("visitorList"), 200);
    QQmlEngine referenceEngine;
    const auto visitorRows = snapshot(rows);
    ReferenceList reference(&referenceEngine, kVisitorsReference);
    reference.show(visitorRows.get());
    const double referenceFlick = flick(reference.window(), reference.list(), 200);
    reference.window()->hide();
    QQmlEngine bareEngine;
    ReferenceList bare(&bareEngine, kBareList);
    bare.show(bareRows());
    const double bareFlick = flick(bare.window(), bare.list(), 200);
    std::printf("flicking 2 000 visitors: %.2f ms a frame; same-content list %.2f ms → %.2fx (goal "
                "<= 1.5); bare list %.2f ms → %.2fx\n",
                consoleFlick, referenceFlick, consoleFlick / referenceFlick, bareFlick,
                consoleFlick / bareFlick);

    // 4. Peak memory, each in a process of its own; the console's over this process's service.
    const QList<QPair<QString, QString>> service{{kServiceVariable, console.serviceUrl()}};
    const qint64 withoutStats = peakOf("sections-but-stats", service);
    const qint64 every = peakOf("every-section", service);
    const qint64 barePeak = peakOf("bare");
    std::printf("peak RSS after opening every section: %lld kB; bare window with %d rows: %lld kB "
                "→ %.2fx (goal <= 2); opening Stats adds %lld kB (the chart library)\n",
                every, kVisitors, barePeak, double(every) / double(barePeak), every - withoutStats);
    return 0;
}
