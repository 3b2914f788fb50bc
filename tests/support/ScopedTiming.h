#pragma once

// Shorter delays for one test: the values in force come back when it ends,
// also when a check fails half-way.

#include "Timing.h"

#include <functional>

namespace kv::test {

class ScopedTiming {
public:
    explicit ScopedTiming(const std::function<void(Timing&)>& change) : m_saved(Timing::current()) {
        change(Timing::current());
    }
    ~ScopedTiming() { Timing::current() = m_saved; }
    ScopedTiming(const ScopedTiming&) = delete;
    ScopedTiming& operator=(const ScopedTiming&) = delete;

private:
    Timing m_saved;
};

} // namespace kv::test
