#pragma once

// What every store of the state reaches through the state that owns it: the
// service, the signed-in session, and the one answer to a refused key.

#include "service/Repository.h"

#include <functional>

namespace kv {

class Session;

struct StoreContext {
    std::function<Repository&()> repository;
    Session* session = nullptr;
    // Signs out when `error` is the service refusing the key; says whether it did.
    std::function<bool(const ApiError&)> signedOutBy;
};

// Orders overlapping loads of one thing: each load takes a ticket when it
// starts, and only the newest ticket's answer is applied. (A sequence number,
// not flags: whatever order answers come back in, the last load started wins.)
class LoadSequence {
public:
    quint64 start() { return ++m_latest; }
    bool isLatest(quint64 ticket) const { return ticket == m_latest; }
    // Every load started so far is outdated (sign-out, a scope left).
    void invalidate() { ++m_latest; }

private:
    quint64 m_latest = 0;
};

} // namespace kv
