#pragma once

// Runs a coroutine to completion from a test, spinning the event loop meanwhile.

#include <QCoroTask>

namespace kv::test {

template <typename T>
T await(QCoro::Task<T>&& task) {
    return QCoro::waitFor(std::move(task));
}

inline void await(QCoro::Task<>&& task) {
    QCoro::waitFor(std::move(task));
}

} // namespace kv::test
