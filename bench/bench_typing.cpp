// Typing into the quick switcher and into the conversation search, a
// keystroke at a time, on the GUI thread: what one keystroke costs to rank
// (or filter) and hand the rows to the list, with 200 agents, 1 000 loaded
// conversations and 2 000 live visitors from the simulated service.
// Prints p50 and p99 per keystroke, and what gathering costs as the
// switcher opens.

#include "Configuration.h"
#include "InboxModel.h"
#include "SignedInCore.h"
#include "SimServer.h"
#include "SwitcherModel.h"

#include <QElapsedTimer>
#include <QGuiApplication>
#include <QLoggingCategory>

#include <algorithm>
#include <cstdio>

using namespace kv;

namespace {

struct Spread {
    double p50 = 0, p99 = 0;
    int n = 0;
};

Spread spread(QList<double> ms) {
    std::sort(ms.begin(), ms.end());
    if (ms.isEmpty())
        return {};
    const auto at = [&](double q) { return ms[qsizetype(q * double(ms.size() - 1))]; };
    return {at(0.5), at(0.99), int(ms.size())};
}

// Every prefix of each word, as an operator types it, then erased again.
QStringList keystrokes(const QStringList& words) {
    QStringList out;
    for (const QString& w : words) {
        for (qsizetype i = 1; i <= w.size(); ++i)
            out.append(w.left(i));
        for (qsizetype i = w.size() - 1; i >= 0; --i)
            out.append(w.left(i));
    }
    return out;
}

} // namespace

int main(int argc, char** argv) {
    QGuiApplication app(argc, argv);
    QLoggingCategory::setFilterRules("*.info=false\n*.warning=false");

    sim::SimConfig config;
    config.data.agents = 200;
    config.data.conversationsPerAgent = 5;
    config.data.visitors = 2000;
    config.listLimit = 1000; // every conversation in one list
    sim::SimServer sim(config);
    sim.start();
    qputenv(Configuration::kApiUrlVariable, sim.baseUrl().toUtf8());
    bench::Nowhere nowhere;
    bench::SignedInCore core(sim.apiKey(), &nowhere);
    AppState& state = core.state;
    QCoro::waitFor(state.loadConversations(std::nullopt));
    QCoro::waitFor(state.loadLiveVisitors(std::nullopt));
    std::printf("typing: %lld agents, %lld conversations, %lld live visitors\n",
                qint64(state.projects().size()), qint64(state.conversations().size()),
                qint64(state.liveVisitors().size()));

    // Words the operator would type: visitors' names, an agent, a page, a
    // place, an accent, and letters that match little.
    QStringList words{QStringLiteral("jose"), QStringLiteral("settings"), QStringLiteral("pricing"),
                      QStringLiteral("zqx"), QStringLiteral("café")};
    for (int i = 0; i < 10 && i < state.conversations().size(); ++i) {
        if (const auto& name =
                state.conversations()[i * 97 % state.conversations().size()].visitorName)
            words.append(name->left(6));
    }
    if (!state.projects().isEmpty())
        words.append(state.projects().last().name.left(8));
    const QStringList typed = keystrokes(words);

    SwitcherModel switcher(&state, nullptr);
    QList<double> opening;
    QList<double> switcherMs;
    QElapsedTimer clock;
    for (int round = 0; round < 5; ++round) {
        clock.start();
        switcher.reset();
        opening.append(double(clock.nsecsElapsed()) / 1e6);
        for (const QString& query : typed) {
            clock.start();
            switcher.setQuery(query);
            switcherMs.append(double(clock.nsecsElapsed()) / 1e6);
        }
    }

    InboxModel inbox(&state, nullptr);
    QList<double> searchMs;
    for (int round = 0; round < 5; ++round) {
        for (const QString& query : typed) {
            clock.start();
            inbox.setSearch(query);
            searchMs.append(double(clock.nsecsElapsed()) / 1e6);
        }
    }

    const Spread s = spread(switcherMs), o = spread(opening), f = spread(searchMs);
    std::printf("switcher keystroke: p50 %.3f ms, p99 %.3f ms over %d keystrokes\n", s.p50, s.p99,
                s.n);
    std::printf("switcher opening (gathering every candidate): p50 %.3f ms\n", o.p50);
    std::printf("conversation search keystroke: p50 %.3f ms, p99 %.3f ms over %d keystrokes\n",
                f.p50, f.p99, f.n);
    return 0;
}
