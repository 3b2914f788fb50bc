// The service's instants and days, read from arbitrary text: never a crash;
// what reads back is a valid UTC instant inside the years the console can
// write, and writing it and reading it again gives the same instant.

#include "FuzzCheck.h"
#include "records/IsoTime.h"

#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const QString text = QString::fromUtf8(reinterpret_cast<const char*>(data), qsizetype(size));

    if (const auto instant = kv::parseISO8601Permissive(text)) {
        KV_FUZZ_CHECK(instant->isValid(), "a read instant is valid");
        const QDate day = instant->toUTC().date();
        KV_FUZZ_CHECK(day.year() >= 1 && day.year() <= 9999, "a read instant is in range");
        const QString written = kv::formatInstant(*instant);
        const auto again = kv::parseISO8601Permissive(written);
        KV_FUZZ_CHECK(again && *again == *instant, "a written instant reads back the same");
    }
    if (const auto day = kv::parseDay(text)) {
        KV_FUZZ_CHECK(day->isValid(), "a read day is valid");
        KV_FUZZ_CHECK(day->toUTC().date().toString(Qt::ISODate) == text,
                      "a day reads back as its own text");
    }
    return 0;
}
