#pragma once

// Change detection over all agents, whatever the operator has selected: what
// the polling path announces (a chat that wants a human, a waiting visitor's
// new message, visitors coming online), sharing the notification throttle
// with the realtime path. It keeps, per scope, what it saw at its last look;
// that snapshot is its own.
//
// Ordering rule: one look at a time. A look asked for while one runs gives
// exactly one more look after it, however many were asked for meanwhile, and
// each caller's wait ends once a look that began after its request is over.
// Looks apply what they fetched in the order they began, so the snapshot never
// goes back in time and nothing is announced twice. Looks run under the
// session: once it ends (sign-out), nothing more is sent or recorded.

#include "records/Records.h"
#include "service/Cancellation.h"
#include "service/WaitList.h"

#include <QHash>
#include <QObject>
#include <QSet>

#include <functional>

namespace kv {

class NotificationManager;
class Repository;

// What a conversation looked like at the last look.
struct ConvSig {
    bool needsOperator = false;
    qint64 messageCount = 0;
    bool hasUnread = false;
    bool operator==(const ConvSig&) const = default;
};

class ChangeDetector : public QObject {
    Q_OBJECT

public:
    // What a look reaches through the state that owns the detector.
    struct Context {
        std::function<Repository&()> repository;
        std::function<Cancellation()> session;
        std::function<std::optional<Project>(const QString&)> project;
        // Notifications held back during the replay after a (re)connection.
        std::function<bool()> suppressed;
        NotificationManager* notifications = nullptr; // none: nothing is announced
    };

    explicit ChangeDetector(Context context, QObject* parent = nullptr);

    // Looks at every agent's conversations and visitors (see the ordering rule).
    QCoro::Task<> look();
    bool isLooking() const { return m_looking; }

    // A scope's lists were loaded afresh: its next look only records what it sees.
    void forgetScope(const QString& scope);
    // Sign-out: nothing of the old account is remembered.
    void forget();

    // What one look found, compared with the last (public for tests of the rules).
    void conversationsSeen(const QList<Conversation>& list, const QString& scope);
    void visitorsSeen(const QList<Visitor>& list, const QString& scope);

    bool primed(const QString& scope) const { return m_primedConversations.contains(scope); }
    bool remembersAnything() const;

private:
    QCoro::Task<> lookOnce(Cancellation cancel);

    Context m_context;
    bool m_looking = false;
    bool m_again = false;
    quint64 m_finishedLooks = 0;
    WaitList m_lookFinished; // requests waiting for their look

    QSet<QString> m_primedVisitors;
    QHash<QString, QSet<QString>> m_knownVisitorIDs;
    QSet<QString> m_primedConversations;
    QHash<QString, QHash<QString, ConvSig>> m_snapshot;
};

} // namespace kv
