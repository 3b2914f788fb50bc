#pragma once

// Every delay the console waits for lives here, so that tests can shorten
// them without sleeping through the real durations.

#include <chrono>

namespace kv {

struct Timing {
    std::chrono::milliseconds requestTimeout{60'000};

    // The values in force; tests may assign shorter ones before they start work.
    static Timing& current();
};

} // namespace kv
