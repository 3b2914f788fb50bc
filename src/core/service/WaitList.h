#pragma once

// Coroutines waiting for something a store will do (a fetch under way to
// end, a look to finish): each waits until the next release, then resumes
// from the event loop, never inside the code that released it. Waiters check
// their owner (a QPointer) when they resume: the owner may have gone.
//
// (Await a named awaiter — `auto w = list.wait(); co_await w;` — g++ 12
// mishandles temporaries inside a co_await.)

#include <QCoreApplication>
#include <QMetaObject>

#include <coroutine>
#include <vector>

namespace kv {

class WaitList {
public:
    class Awaiter {
    public:
        explicit Awaiter(WaitList& list) : m_list(&list) {}
        bool await_ready() const noexcept { return false; }
        void await_suspend(std::coroutine_handle<> waiting) {
            m_list->m_waiting.push_back(waiting);
        }
        void await_resume() const noexcept {}

    private:
        WaitList* m_list;
    };

    WaitList() = default;
    WaitList(const WaitList&) = delete;
    WaitList& operator=(const WaitList&) = delete;
    ~WaitList() { releaseAll(); }

    Awaiter wait() { return Awaiter(*this); }

    // Every coroutine waiting now resumes, once the event loop runs.
    void releaseAll() {
        for (std::coroutine_handle<> waiting : std::exchange(m_waiting, {}))
            QMetaObject::invokeMethod(
                QCoreApplication::instance(), [waiting] { waiting.resume(); },
                Qt::QueuedConnection);
    }

private:
    std::vector<std::coroutine_handle<>> m_waiting;
};

} // namespace kv
