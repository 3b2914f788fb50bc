#pragma once

// The fuzz targets' oracle: a broken property aborts, which libFuzzer and the
// corpus replay both report as a failure with the input that caused it.

#include <cstdio>
#include <cstdlib>

#define KV_FUZZ_CHECK(condition, what)                                                             \
    do {                                                                                           \
        if (!(condition)) {                                                                        \
            std::fprintf(stderr, "fuzz check failed: %s (%s:%d)\n", what, __FILE__, __LINE__);     \
            std::abort();                                                                          \
        }                                                                                          \
    } while (0)
