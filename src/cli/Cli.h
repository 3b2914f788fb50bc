#pragma once

#include <QCoroTask>
#include <QStringList>

namespace kv::cli {

// Exit codes: 0 success, 1 the service or the store refused, 2 usage error.
inline constexpr int kExitOk = 0;
inline constexpr int kExitFailure = 1;
inline constexpr int kExitUsage = 2;

// Runs one command line (without the program name) to completion.
QCoro::Task<int> run(QStringList arguments);

} // namespace kv::cli
