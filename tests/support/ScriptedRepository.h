#pragma once

// A stand-in for the service where a test is about the state's own rules:
// every operation answers at once from data the test holds, except the
// operations the test chooses to hold — their calls wait, in arrival order,
// until the test releases each with the answer it wants, in any order. That
// is how two overlapping loads get their answers in the wrong order.

#include "service/Repository.h"
#include "service/WaitList.h"

#include <QObject>

#include <any>
#include <memory>

namespace kv::test {

struct HeldCall {
    QString operation;     // "fetchConversations", …
    QStringList arguments; // the identifiers it was called with; "<all>" for none
    std::any answer;       // the ApiResult<T> it resumes with, once released
    bool released = false;
};

class ScriptedRepository final : public QObject, public Repository {
    Q_OBJECT

public:
    // What the service holds.
    User me{QStringLiteral("u1"), QStringLiteral("alex@kestovar.example"),
            QStringLiteral("Alex Morgan"), false, true};
    QList<Project> projects;
    QList<Client> clients;
    QList<Conversation> conversations;
    QHash<QString, QList<Message>> messages; // by conversation
    QList<Visitor> visitors;
    QHash<QString, QList<Snippet>> snippets; // by agent
    QList<NotificationPref> prefs;
    ProjectStats stats;

    // Operations whose calls wait for release().
    QSet<QString> hold;
    // Every call of a held operation, oldest first.
    QList<std::shared_ptr<HeldCall>> held;
    // How many times each operation was called, held or not.
    QHash<QString, int> calls;

    // The calls of `operation` still waiting.
    QList<std::shared_ptr<HeldCall>> waiting(const QString& operation) const;
    // Resumes a held call with `answer` (its own operation's result type).
    template <typename T>
    void release(const std::shared_ptr<HeldCall>& call, ApiResult<T> answer) {
        call->answer = std::move(answer);
        call->released = true;
        m_released.releaseAll();
        emit changed();
    }
    // Resumes a held call with what the data says now.
    void releaseWithData(const std::shared_ptr<HeldCall>& call);

#define KV_DECLARE_OVERRIDE(Result, name, parameters, arguments)                                   \
    QCoro::Task<ApiResult<Result>> name parameters override;
    KV_REPOSITORY_OPERATIONS(KV_DECLARE_OVERRIDE)
#undef KV_DECLARE_OVERRIDE

signals:
    // A call arrived or was released.
    void changed();

private:
    WaitList m_released;

    template <typename T>
    QCoro::Task<ApiResult<T>> answer(QString operation, QStringList arguments, Cancellation cancel,
                                     std::function<ApiResult<T>()> now);

    ApiResult<QList<Conversation>> conversationsOf(const std::optional<QString>& projectID) const;
    ApiResult<QList<Visitor>> visitorsOf(const std::optional<QString>& projectID) const;
    ApiResult<ConversationDetail> detailOf(const QString& conversationID) const;
    ApiResult<QList<Snippet>> snippetsOf(const QString& projectID) const;
};

// A repository that passes every operation on to `target` (the state owns its
// repository and makes a new one at sign-out; the script stays the test's).
std::function<std::unique_ptr<Repository>(ApiClient*)> forwardingTo(Repository& target);

// A conversation of an agent, as the service would list it.
Conversation conversation(const QString& id, const QString& projectID,
                          ConversationStatus status = ConversationStatus::active,
                          qint64 messageCount = 2, bool hasUnread = false);
Project project(const QString& id, const QString& name, qint64 unread = 0);

} // namespace kv::test
