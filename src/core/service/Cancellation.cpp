#include "Cancellation.h"

#include <QCoroSignal>
#include <QList>
#include <QNetworkReply>
#include <QTimer>

#include <map>

namespace kv {

struct Cancellation::State {
    bool cancelled = false;
    QList<QPointer<QNetworkReply>> replies;
    std::map<int, std::function<void()>> callbacks;
    int nextTicket = 1;
    // A child's registration with its parent, dropped when the child ends first,
    // so that a long-lived parent does not collect the callbacks of finished work.
    std::weak_ptr<State> parent;
    int parentTicket = 0;

    void leaveParent() {
        if (auto p = parent.lock())
            p->callbacks.erase(parentTicket);
        parent.reset();
    }
    ~State() { leaveParent(); }
};

Cancellation::Cancellation() : m_state(std::make_shared<State>()) {}

void Cancellation::cancel() {
    // Keep the state alive: an abort resumes coroutines synchronously, and
    // they may drop their copies of this handle.
    const auto state = m_state;
    if (state->cancelled)
        return;
    state->cancelled = true; // before aborting: resumed work must see it
    state->leaveParent();
    const auto replies = std::exchange(state->replies, {});
    for (const auto& reply : replies) {
        if (reply && reply->isRunning())
            reply->abort();
    }
    auto callbacks = std::exchange(state->callbacks, {});
    for (auto& [ticket, callback] : callbacks)
        callback();
}

bool Cancellation::isCancelled() const {
    return m_state->cancelled;
}

Cancellation Cancellation::child() const {
    Cancellation child;
    std::weak_ptr<State> weakChild = child.m_state;
    const int ticket = onCancel([weakChild] {
        if (auto state = weakChild.lock())
            Cancellation(std::move(state)).cancel();
    });
    if (!child.m_state->cancelled) {
        child.m_state->parent = m_state;
        child.m_state->parentTicket = ticket;
    }
    return child;
}

void Cancellation::track(QNetworkReply* reply) const {
    if (!reply)
        return;
    if (m_state->cancelled) {
        reply->abort();
        return;
    }
    m_state->replies.removeIf([](const QPointer<QNetworkReply>& r) { return r.isNull(); });
    m_state->replies.append(reply);
}

int Cancellation::onCancel(std::function<void()> callback) const {
    if (m_state->cancelled) {
        callback();
        return 0;
    }
    const int ticket = m_state->nextTicket++;
    m_state->callbacks.emplace(ticket, std::move(callback));
    return ticket;
}

void Cancellation::forget(int ticket) const {
    m_state->callbacks.erase(ticket);
}

QCoro::Task<> sleepFor(std::chrono::milliseconds duration, Cancellation cancel) {
    if (cancel.isCancelled())
        co_return;
    QTimer timer;
    timer.setSingleShot(true);
    // Coarse timers may fire up to 5 % early; a promised wait must not.
    timer.setTimerType(Qt::PreciseTimer);
    const int ticket = cancel.onCancel([&timer] { timer.start(0); });
    timer.start(duration);
    co_await qCoro(&timer, &QTimer::timeout);
    cancel.forget(ticket);
}

} // namespace kv
