// The conversations workspace under load, beside bare Qt Quick lists, in one run:
//  - an inbox of 1 000 conversations: the GUI-thread cost of a refresh that
//    changes one conversation (the list model's update and the next frame),
//    and that it makes no new row;
//  - frame time while flicking through that list, against a same-content
//    list (the same strings and shapes in plain Text and Rectangle) and, as
//    the floor, a bare ListView of 1 000 one-text rows;
//  - opening a thread of 2 000 messages (with Markdown), against a
//    same-content list of bubbles with the texts plain, and a bare ListView
//    of the same texts;
//  - peak RSS with 200 agents, 1 000 conversations and the thread open,
//    against the bare window (each in a process of its own; the console's
//    uses this process's service, so its memory is the console's alone).
// Release build, offscreen software rendering:
//   scripts/headless-session build-rel/bench/bench_workspace

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
constexpr int kPerAgent = 5;
constexpr int kThreadMessages = 2000;

QStringList threadTexts() {
    QStringList texts;
    for (int i = 0; i < kThreadMessages; ++i) {
        texts.append(i % 4 == 1 ? QStringLiteral("Here is what helps:\n\n1. **Check** the order "
                                                 "number.\n2. See our [help centre](https://"
                                                 "example.com/help).\n\n_Message %1_")
                                      .arg(i)
                                : QStringLiteral("Message %1: could you tell me more about the "
                                                 "delivery times to Norway?")
                                      .arg(i));
    }
    return texts;
}

sim::SimConfig simConfig() {
    sim::SimConfig config;
    config.data.agents = kAgents;
    config.data.conversationsPerAgent = kPerAgent;
    config.listLimit = kAgents * kPerAgent;
    return config;
}

constexpr char kThreadVariable[] = "KV_BENCH_THREAD_ID";

// The console with the big account, a 2 000-message thread in its first conversation.
struct Console : BenchConsole {
    Console() : BenchConsole(simConfig()) {}
    QString threadID;

    bool start() {
        const QStringList texts = threadTexts();
        const bool up = BenchConsole::start([&](sim::SimData& d) {
            auto& c = d.conversations.first();
            c.messages.clear();
            QDateTime at = QDateTime::currentDateTimeUtc().addDays(-1);
            for (int i = 0; i < texts.size(); ++i) {
                c.messages.append(sim::SimMessage{d.nextId("msg_"), c.id,
                                                  i % 2 ? "assistant" : "user", texts[i],
                                                  at.addSecs(i), std::nullopt, std::nullopt});
            }
            threadID = c.id;
        });
        if (threadID.isEmpty()) // the parent's service, prepared by the parent
            threadID = qEnvironmentVariable(kThreadVariable);
        return up && QTest::qWaitFor(
                         [&] { return list()->property("count").toInt() == kAgents * kPerAgent; },
                         60'000);
    }
    QQuickItem* list() { return item("conversationList"); }
    QQuickItem* messages() { return item("messageList"); }
};

int peakOnly(const QString& which) {
    if (which == u"bare") {
        QQmlEngine engine;
        ReferenceList bare(&engine, kBareList);
        bare.show(threadTexts());
        bare.window()->grabWindow();
    } else {
        Console console;
        if (!console.start())
            return 1;
        console.state->setSelectedConversationID(console.threadID);
        if (!QTest::qWaitFor(
                [&] {
                    return console.messages() &&
                           console.messages()->property("count").toInt() == kThreadMessages;
                },
                60'000))
            return 1;
        console.window()->grabWindow();
    }
    std::printf("peak-rss=%s\n", process::field("/proc/self/status", "VmHWM:").constData());
    return 0;
}

} // namespace

int main(int argc, char** argv) {
    renderOffscreenAtOnce();
    QGuiApplication app(argc, argv);
    QLoggingCategory::setFilterRules(QStringLiteral("*.info=false"));
    const QStringList args = app.arguments();
    if (args.size() == 3 && args[1] == u"--peak")
        return peakOnly(args[2]);

    Console console;
    if (!console.start()) {
        std::fprintf(stderr, "the console did not come up\n");
        return 1;
    }
    QQuickWindow* window = console.window();
    QQuickItem* list = console.list();

    // 1. A refresh that changes one conversation: the model's update, then the next frame.
    auto* model = console.state->conversationsModel();
    QSignalSpy inserted(model, &QAbstractItemModel::rowsInserted);
    QSignalSpy removed(model, &QAbstractItemModel::rowsRemoved);
    QList<double> applies, frames, idleFrames;
    for (int round = 0; round < 25; ++round) {
        QList<Conversation> next = model->items();
        next[round * 7].hasUnread = !next[round * 7].hasUnread;
        next[round * 7].messageCount += 1;
        settle(window);
        idleFrames.append(frameAfter(window, [] {}));
        frames.append(frameAfter(window, [&] {
            QElapsedTimer clock;
            clock.start();
            model->apply(next);
            applies.append(msSince(clock));
        }));
    }
    std::printf("inbox of %d: refresh changing one conversation: model update %.3f ms, "
                "next frame %.2f ms (idle frame %.2f ms); rows inserted %lld, removed %lld\n",
                int(model->rowCount()), median(applies), median(frames), median(idleFrames),
                qint64(inserted.size()), qint64(removed.size()));

    // 2. Flicking through the list, beside the same rows drawn the cheapest way
    // and a bare list of as many one-text rows.
    const double consoleFlick = flick(window, list);
    QQmlEngine referenceEngine;
    const auto inboxRows = snapshot(list->property("model").value<QAbstractItemModel*>());
    ReferenceList inboxReference(&referenceEngine, kInboxReference);
    inboxReference.show(inboxRows.get());
    const double referenceFlick = flick(inboxReference.window(), inboxReference.list());
    inboxReference.window()->hide();
    QQmlEngine bareEngine;
    ReferenceList bare(&bareEngine, kBareList);
    QQuickWindow* bareWindow = bare.window();
    QQuickItem* bareList = bare.list();
    QStringList rows;
    for (int i = 0; i < kAgents * kPerAgent; ++i)
        rows.append(QStringLiteral("Visitor %1 — Thanks for waiting, I'm on it.").arg(i));
    bareList->setProperty("model", rows);
    const double bareFlick = flick(bareWindow, bareList);
    std::printf("flicking 1 000 rows: %.2f ms a frame; same-content list %.2f ms → %.2fx (goal <= "
                "1.5); bare list %.2f ms → %.2fx\n",
                consoleFlick, referenceFlick, consoleFlick / referenceFlick, bareFlick,
                consoleFlick / bareFlick);

    // 3. Opening the 2 000-message thread (its detail loaded once before), beside a bare list.
    console.state->setSelectedConversationID(console.threadID);
    if (!QTest::qWaitFor(
            [&] {
                return console.messages() &&
                       console.messages()->property("count").toInt() == kThreadMessages;
            },
            60'000)) {
        std::fprintf(stderr, "the thread did not open\n");
        return 1;
    }
    QList<double> opens, referenceOpens, bareOpens;
    const QString other = model->items().at(1).id;
    const QStringList texts = threadTexts();
    const auto threadRows = threadModel(texts);
    ReferenceList threadReference(&referenceEngine, kThreadReference);
    // More rounds under a profiler: KV_BENCH_THREAD_ROUNDS=60 perf record …
    const int rounds = std::max(7, qEnvironmentVariableIntValue("KV_BENCH_THREAD_ROUNDS"));
    for (int round = 0; round < rounds; ++round) {
        console.state->setSelectedConversationID(other);
        if (!QTest::qWaitFor(
                [&] { return console.messages()->property("count").toInt() < kThreadMessages; }))
            return 1;
        settle(window);
        opens.append(frameAfter(
            window, [&] { console.state->setSelectedConversationID(console.threadID); }));
        if (console.messages()->property("count").toInt() != kThreadMessages)
            std::fprintf(stderr, "the thread did not open at once\n");

        bareList->setProperty("model", QVariant());
        settle(bareWindow);
        bareOpens.append(frameAfter(bareWindow, [&] { bareList->setProperty("model", texts); }));

        threadReference.clear();
        settle(threadReference.window());
        referenceOpens.append(
            frameAfter(threadReference.window(), [&] { threadReference.show(threadRows.get()); }));
    }
    std::printf("opening a thread of 2 000 messages: %.2f ms; same-content list %.2f ms → %.2fx "
                "(goal <= 2); bare list %.2f ms → %.2fx\n",
                median(opens), median(referenceOpens), median(opens) / median(referenceOpens),
                median(bareOpens), median(opens) / median(bareOpens));

    // 4. Peak memory, each in a process of its own; the console's over this process's service.
    const qint64 consolePeak = peakOf(
        "console", {{kServiceVariable, console.serviceUrl()}, {kThreadVariable, console.threadID}});
    const qint64 barePeak = peakOf("bare");
    std::printf("peak RSS, %d agents, 1 000 conversations, the thread open: %lld kB; bare window "
                "with the texts: %lld kB → %.2fx (goal <= 2)\n",
                kAgents, consolePeak, barePeak, double(consolePeak) / double(barePeak));
    return 0;
}
