// Event-stream parser throughput, fed as the network delivers it (1 460-byte
// reads): one huge single-line frame of 2, 4 and 8 MiB (time should grow
// linearly), and 100 000 small frames.

#include "service/SseParser.h"

#include <benchmark/benchmark.h>

using kv::SseFrame;
using kv::SseParser;

namespace {

constexpr qsizetype kRead = 1460;

void feedInReads(SseParser& parser, const QByteArray& stream) {
    for (qsizetype at = 0; at < stream.size(); at += kRead)
        (void)parser.feed(QByteArrayView(stream).sliced(at, std::min(kRead, stream.size() - at)));
}

void BM_SingleLineFrame(benchmark::State& state) {
    const qsizetype size = state.range(0) << 20;
    const QByteArray stream = "data: " + QByteArray(size, 'x') + "\n\n";
    qsizetype delivered = 0;
    for (auto _ : state) {
        // The guard limits are raised here: this measures the parser, not the guard.
        SseParser parser({[&](const SseFrame& f) { delivered += f.data.size(); }, {}}, size + 16,
                         size + 16);
        feedInReads(parser, stream);
    }
    benchmark::DoNotOptimize(delivered);
    state.SetBytesProcessed(state.iterations() * stream.size());
}

void BM_SmallFrames(benchmark::State& state) {
    QByteArray stream;
    for (int i = 0; i < 100'000; ++i) {
        stream += "id: " + QByteArray::number(i) + "\nevent: message.received\ndata: {\"id\":\"" +
                  QByteArray::number(i) +
                  "\",\"type\":\"message.received\",\"project_id\":\"p1\"}\n\n";
        if (i % 50 == 0)
            stream += ": heartbeat\n\n";
    }
    int frames = 0;
    for (auto _ : state) {
        SseParser parser({[&](const SseFrame&) { ++frames; }, {}});
        feedInReads(parser, stream);
    }
    benchmark::DoNotOptimize(frames);
    state.SetBytesProcessed(state.iterations() * stream.size());
    state.counters["frames"] = 100'000;
}

} // namespace

BENCHMARK(BM_SingleLineFrame)->Arg(2)->Arg(4)->Arg(8)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_SmallFrames)->Unit(benchmark::kMillisecond);

BENCHMARK_MAIN();
