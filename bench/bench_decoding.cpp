// What reading a response costs beyond parsing its JSON: the decode + map of
// a 50-conversation inbox and of 5 000 live visitors, beside the bare
// QJsonDocument::fromJson of the same bytes.

#include "SimData.h"
#include "records/WireRecords.h"

#include <QJsonArray>
#include <QJsonDocument>

#include <benchmark/benchmark.h>

using namespace kv;

namespace {

QByteArray inboxBytes() {
    sim::SimData data(sim::SimOptions{7, 20});
    QJsonArray items;
    for (qsizetype i = 0; i < 50; ++i)
        items.append(sim::toJson(data.conversations[i % data.conversations.size()]));
    return QJsonDocument(QJsonObject{{"conversations", items}}).toJson(QJsonDocument::Compact);
}

QByteArray visitorBytes() {
    sim::SimData data(sim::SimOptions{7, 40});
    QJsonArray items;
    for (qsizetype i = 0; i < 5000; ++i) {
        sim::SimVisitor v = data.visitors[i % data.visitors.size()];
        v.visitorId = QStringLiteral("vis_%1").arg(i);
        items.append(sim::toJson(v));
    }
    return QJsonDocument(QJsonObject{{"visitors", items}}).toJson(QJsonDocument::Compact);
}

void parseOnly(benchmark::State& state, const QByteArray& bytes) {
    for (auto _ : state) {
        QJsonDocument doc = QJsonDocument::fromJson(bytes);
        benchmark::DoNotOptimize(doc);
    }
    state.SetBytesProcessed(state.iterations() * bytes.size());
}

// Parse, then decode and map with the REST client's own decoder.
template <typename Decode>
void parseAndDecode(benchmark::State& state, const QByteArray& bytes, Decode decode) {
    for (auto _ : state) {
        auto records = decode(parseBodyObject(bytes));
        benchmark::DoNotOptimize(records);
    }
    state.SetBytesProcessed(state.iterations() * bytes.size());
}

const QByteArray& inbox() {
    static const QByteArray bytes = inboxBytes();
    return bytes;
}

const QByteArray& visitors() {
    static const QByteArray bytes = visitorBytes();
    return bytes;
}

void BM_Inbox50_Parse(benchmark::State& state) {
    parseOnly(state, inbox());
}

void BM_Inbox50_ParseDecodeMap(benchmark::State& state) {
    parseAndDecode(state, inbox(), decodeConversationList);
}

void BM_Visitors5000_Parse(benchmark::State& state) {
    parseOnly(state, visitors());
}

void BM_Visitors5000_ParseDecodeMap(benchmark::State& state) {
    parseAndDecode(state, visitors(), decodeVisitorList);
}

} // namespace

BENCHMARK(BM_Inbox50_Parse);
BENCHMARK(BM_Inbox50_ParseDecodeMap);
BENCHMARK(BM_Visitors5000_Parse)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Visitors5000_ParseDecodeMap)->Unit(benchmark::kMillisecond);

BENCHMARK_MAIN();
