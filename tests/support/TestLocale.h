#pragma once

// Rule tests also run under a desktop locale that writes numbers with a
// comma (ctest's *_de variants). The application object takes the locale
// from the environment; this says whether that really happened, so that a
// machine without the locale cannot pass the test vacuously.

#include <QString>
#include <QtGlobal>

#include <clocale>
#include <cstring>

namespace kv::test {

inline bool requestedLocaleApplies() {
    if (qEnvironmentVariable("KESTOVAR_TEST_LOCALE") != QLatin1StringView("de_DE"))
        return true;
    return std::strcmp(std::localeconv()->decimal_point, ",") == 0;
}

} // namespace kv::test
