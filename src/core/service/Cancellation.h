#pragma once

// The one way work is cancelled in the console. A Cancellation is a cheap
// handle to shared state: copies cancel together. Cancelling aborts every
// network reply the work has in flight (its coroutine then resumes at once
// and sees isCancelled()) and runs the registered callbacks, which wake
// cancellable waits. A child token is cancelled with its parent, so work
// started under a signed-in session ends with it.

#include <QCoroTask>
#include <QPointer>

#include <chrono>
#include <functional>
#include <memory>

class QNetworkReply;

namespace kv {

class Cancellation {
public:
    Cancellation();

    void cancel();
    bool isCancelled() const;

    // A new token that is cancelled when this one is; cancelling it leaves this one alone.
    Cancellation child() const;

    // Aborted when this is cancelled; at once if it already is.
    void track(QNetworkReply* reply) const;
    // Runs once on cancel (at once if already cancelled). Returns a ticket for forget().
    int onCancel(std::function<void()> callback) const;
    void forget(int ticket) const;

private:
    struct State;
    explicit Cancellation(std::shared_ptr<State> state) : m_state(std::move(state)) {}
    std::shared_ptr<State> m_state;
};

// Waits at least `duration`, or less when `cancel` is cancelled meanwhile (an
// interrupted wait counts as finished). The timer is precise: a back-off or a
// debounce never ends early. Resumes from the event loop, never from inside
// cancel(), so the caller must check the token before touching anything that
// the canceller may have destroyed.
QCoro::Task<> sleepFor(std::chrono::milliseconds duration, Cancellation cancel);

} // namespace kv
