// The event-stream parser must not care how the network cuts the bytes: the
// same stream fed whole, in uneven chunks and byte by byte gives the same
// frames, the same comments, the same resume id and the same error. Small
// caps let the fuzzer reach the limits, and nothing it keeps outgrows them.

#include "FuzzCheck.h"
#include "SseParser.h"

#include <QList>

#include <cstdint>

namespace {

constexpr qsizetype kMaxLine = 64;
constexpr qsizetype kMaxFrame = 256;

struct Outcome {
    QList<kv::SseFrame> frames;
    int comments = 0;
    std::optional<QString> resumeId;
    std::optional<QString> error;
    bool operator==(const Outcome&) const = default;
};

// Feeds `stream` in pieces whose sizes `nextSize` chooses; stops at the first error.
template <typename NextSize>
Outcome parse(QByteArrayView stream, NextSize nextSize) {
    Outcome outcome;
    kv::SseParser parser(
        {[&](const kv::SseFrame& frame) {
             KV_FUZZ_CHECK(frame.data.size() <= kMaxFrame, "frame within its cap");
             KV_FUZZ_CHECK(frame.eventType.size() <= kMaxLine, "event type within the line cap");
             KV_FUZZ_CHECK(!frame.resumeId || frame.resumeId->size() <= kMaxLine,
                           "resume id within the line cap");
             KV_FUZZ_CHECK(!frame.data.isEmpty(), "only frames with data are dispatched");
             outcome.frames.append(frame);
         },
         [&] { ++outcome.comments; }},
        kMaxLine, kMaxFrame);
    qsizetype at = 0;
    while (at < stream.size() && !outcome.error) {
        const qsizetype size = std::min(nextSize(), stream.size() - at);
        outcome.error = parser.feed(stream.sliced(at, size));
        at += size;
    }
    outcome.resumeId = parser.resumeId();
    return outcome;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size < 1)
        return 0;
    // The first byte seeds the chunk sizes; the rest is the stream.
    uint32_t state = 0x9E3779B9u ^ data[0];
    const QByteArrayView stream(reinterpret_cast<const char*>(data + 1), qsizetype(size - 1));

    const Outcome whole = parse(stream, [&] { return stream.size(); });
    const Outcome chunked = parse(stream, [&] {
        state ^= state << 13;
        state ^= state >> 17;
        state ^= state << 5;
        return qsizetype(1 + state % 17);
    });
    const Outcome bytewise = parse(stream, [] { return qsizetype(1); });

    KV_FUZZ_CHECK(whole == chunked, "whole and chunked feeds agree");
    KV_FUZZ_CHECK(whole == bytewise, "whole and byte-by-byte feeds agree");
    return 0;
}
