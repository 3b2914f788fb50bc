#pragma once

// The one way work is cancelled in the console. A Cancellation is a cheap
// handle to shared state: copies cancel together. Cancelling aborts every
// network reply the work has in flight (its coroutine then resumes at once
// and sees isCancelled()) and runs the registered callbacks, which wake
// cancellable waits.

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

    // Aborted when this is cancelled; at once if it already is.
    void track(QNetworkReply* reply) const;
    // Runs once on cancel (at once if already cancelled). Returns a ticket for forget().
    int onCancel(std::function<void()> callback) const;
    void forget(int ticket) const;

private:
    struct State;
    std::shared_ptr<State> m_state;
};

// Waits `duration`, or less when `cancel` is cancelled meanwhile (an
// interrupted wait counts as finished). Resumes from the event loop, never
// from inside cancel(), so the caller must check the token before touching
// anything that the canceller may have destroyed.
QCoro::Task<> sleepFor(std::chrono::milliseconds duration, Cancellation cancel);

} // namespace kv
