#include "ScriptedRepository.h"

namespace kv::test {

namespace {

class ForwardingRepository final : public Repository {
public:
    explicit ForwardingRepository(Repository& target) : m_target(target) {}

// NOLINTBEGIN(bugprone-macro-parentheses)
#define KV_FORWARD(Result, name, parameters, arguments)                                            \
    QCoro::Task<ApiResult<Result>> name parameters override {                                      \
        return m_target.name arguments;                                                            \
    }
    KV_REPOSITORY_OPERATIONS(KV_FORWARD)
#undef KV_FORWARD
    // NOLINTEND(bugprone-macro-parentheses)

private:
    Repository& m_target;
};

QString orAll(const std::optional<QString>& id) {
    return id.value_or(QStringLiteral("<all>"));
}

} // namespace

std::function<std::unique_ptr<Repository>(ApiClient*)> forwardingTo(Repository& target) {
    return [&target](ApiClient*) { return std::make_unique<ForwardingRepository>(target); };
}

Conversation conversation(const QString& id, const QString& projectID, ConversationStatus status,
                          qint64 messageCount, bool hasUnread) {
    Conversation c;
    c.id = id;
    c.projectID = projectID;
    c.visitorName = QStringLiteral("Visitor ") + id;
    c.status = status;
    c.lastMessagePreview = QStringLiteral("Hello");
    c.lastMessageAt = QDateTime(QDate(2026, 12, 1), QTime(12, 0), Qt::UTC);
    c.startedAt = c.lastMessageAt.addSecs(-600);
    c.messageCount = messageCount;
    c.hasUnread = hasUnread;
    return c;
}

Project project(const QString& id, const QString& name, qint64 unread) {
    Project p;
    p.id = id;
    p.name = name;
    p.websiteURL = QStringLiteral("https://") + id + QStringLiteral(".example");
    p.emoji = QStringLiteral("\U0001F916");
    p.unreadCount = unread;
    return p;
}

QList<std::shared_ptr<HeldCall>> ScriptedRepository::waiting(const QString& operation) const {
    QList<std::shared_ptr<HeldCall>> out;
    for (const auto& call : held) {
        if (call->operation == operation && !call->released)
            out.append(call);
    }
    return out;
}

template <typename T>
QCoro::Task<ApiResult<T>> ScriptedRepository::answer(QString operation, QStringList arguments,
                                                     Cancellation cancel,
                                                     std::function<ApiResult<T>()> now) {
    calls[operation] += 1;
    if (cancel.isCancelled())
        co_return ApiError::transport(QStringLiteral("Operation canceled"));
    if (!hold.contains(operation))
        co_return now();
    auto call = std::make_shared<HeldCall>();
    call->operation = operation;
    call->arguments = arguments;
    held.append(call);
    // Cancelled while held: it resumes as an aborted request does.
    const int ticket = cancel.onCancel([this, call] {
        if (!call->released)
            release<T>(call, ApiError::transport(QStringLiteral("Operation canceled")));
    });
    emit changed();
    while (!call->released) {
        auto released = m_released.wait();
        co_await released;
    }
    cancel.forget(ticket);
    co_return std::any_cast<ApiResult<T>>(call->answer);
}

void ScriptedRepository::releaseWithData(const std::shared_ptr<HeldCall>& call) {
    const QString op = call->operation;
    const auto id = [&](int i) {
        const QString a = call->arguments.value(i);
        return a == u"<all>" ? std::nullopt : std::optional<QString>(a);
    };
    if (op == u"fetchConversations")
        release(call, conversationsOf(id(0)));
    else if (op == u"fetchLiveVisitors")
        release(call, visitorsOf(id(0)));
    else if (op == u"fetchConversationDetail")
        release(call, detailOf(call->arguments.value(1)));
    else if (op == u"fetchSnippets")
        release(call, snippetsOf(call->arguments.value(0)));
    else if (op == u"fetchProjects")
        release(call, ApiResult<QList<Project>>(projects));
    else if (op == u"fetchStats" || op == u"fetchAggregateStats")
        release(call, ApiResult<ProjectStats>(stats));
    else
        qFatal("releaseWithData: %s is not scripted", qPrintable(op));
}

ApiResult<QList<Conversation>>
ScriptedRepository::conversationsOf(const std::optional<QString>& projectID) const {
    QList<Conversation> out;
    for (const Conversation& c : conversations) {
        if (!projectID || c.projectID == *projectID)
            out.append(c);
    }
    return out;
}

ApiResult<QList<Visitor>>
ScriptedRepository::visitorsOf(const std::optional<QString>& projectID) const {
    QList<Visitor> out;
    for (const Visitor& v : visitors) {
        if (!projectID || v.projectID == *projectID)
            out.append(v);
    }
    return out;
}

ApiResult<ConversationDetail> ScriptedRepository::detailOf(const QString& conversationID) const {
    for (const Conversation& c : conversations) {
        if (c.id == conversationID)
            return ConversationDetail{c, messages.value(conversationID)};
    }
    return ApiError::of(ApiError::Kind::notFound);
}

ApiResult<QList<Snippet>> ScriptedRepository::snippetsOf(const QString& projectID) const {
    return snippets.value(projectID);
}

QCoro::Task<ApiResult<User>> ScriptedRepository::fetchMe(Cancellation cancel) {
    return answer<User>(QStringLiteral("fetchMe"), {}, cancel,
                        [this] { return ApiResult<User>(me); });
}

QCoro::Task<ApiResult<QList<Project>>> ScriptedRepository::fetchProjects(Cancellation cancel) {
    return answer<QList<Project>>(QStringLiteral("fetchProjects"), {}, cancel,
                                  [this] { return ApiResult<QList<Project>>(projects); });
}

QCoro::Task<ApiResult<QList<Client>>> ScriptedRepository::fetchClients(Cancellation cancel) {
    return answer<QList<Client>>(QStringLiteral("fetchClients"), {}, cancel,
                                 [this] { return ApiResult<QList<Client>>(clients); });
}

QCoro::Task<ApiResult<QList<Conversation>>>
ScriptedRepository::fetchConversations(std::optional<QString> projectID, std::optional<QString>,
                                       qint64, Cancellation cancel) {
    return answer<QList<Conversation>>(QStringLiteral("fetchConversations"), {orAll(projectID)},
                                       cancel,
                                       [this, projectID] { return conversationsOf(projectID); });
}

QCoro::Task<ApiResult<QList<Visitor>>>
ScriptedRepository::fetchLiveVisitors(std::optional<QString> projectID, Cancellation cancel) {
    return answer<QList<Visitor>>(QStringLiteral("fetchLiveVisitors"), {orAll(projectID)}, cancel,
                                  [this, projectID] { return visitorsOf(projectID); });
}

QCoro::Task<ApiResult<ConversationDetail>>
ScriptedRepository::fetchConversationDetail(QString projectID, QString conversationID,
                                            Cancellation cancel) {
    return answer<ConversationDetail>(QStringLiteral("fetchConversationDetail"),
                                      {projectID, conversationID}, cancel,
                                      [this, conversationID] { return detailOf(conversationID); });
}

QCoro::Task<ApiResult<ProjectStats>> ScriptedRepository::fetchStats(QString projectID, qint64 days,
                                                                    Cancellation cancel) {
    return answer<ProjectStats>(QStringLiteral("fetchStats"), {projectID, QString::number(days)},
                                cancel, [this] { return ApiResult<ProjectStats>(stats); });
}

QCoro::Task<ApiResult<ProjectStats>> ScriptedRepository::fetchAggregateStats(qint64 days,
                                                                             Cancellation cancel) {
    return answer<ProjectStats>(QStringLiteral("fetchAggregateStats"), {QString::number(days)},
                                cancel, [this] { return ApiResult<ProjectStats>(stats); });
}

QCoro::Task<ApiResult<void>> ScriptedRepository::resolveConversation(QString projectID,
                                                                     QString conversationID,
                                                                     Cancellation cancel) {
    return answer<void>(QStringLiteral("resolveConversation"), {projectID, conversationID}, cancel,
                        [this, conversationID] {
                            for (Conversation& c : conversations) {
                                if (c.id == conversationID) {
                                    c.status = ConversationStatus::resolved;
                                    c.hasUnread = false;
                                }
                            }
                            return ApiResult<void>();
                        });
}

QCoro::Task<ApiResult<SendMessageResult>>
ScriptedRepository::sendMessage(QString projectID, QString conversationID, QString text,
                                bool resolveAfter, Cancellation cancel) {
    return answer<SendMessageResult>(
        QStringLiteral("sendMessage"), {projectID, conversationID}, cancel,
        [this, conversationID, text, resolveAfter] {
            const qint64 n = calls.value(QStringLiteral("sendMessage"));
            Message m{QStringLiteral("sent_%1").arg(n),
                      conversationID,
                      MessageRole::operatorRole,
                      text,
                      QDateTime::currentDateTimeUtc(),
                      std::nullopt,
                      std::nullopt};
            for (Conversation& c : conversations) {
                if (c.id == conversationID) {
                    c.status = resolveAfter ? ConversationStatus::resolved
                                            : ConversationStatus::operatorActive;
                    c.hasUnread = false;
                    c.messageCount += 1;
                }
            }
            messages[conversationID].append(m);
            return ApiResult<SendMessageResult>(SendMessageResult{
                m, resolveAfter ? QStringLiteral("resolved") : QStringLiteral("operator_active"),
                m.createdAt});
        });
}

QCoro::Task<ApiResult<TranslationResult>>
ScriptedRepository::translate(QString text, QString target, QString, Cancellation cancel) {
    return answer<TranslationResult>(QStringLiteral("translate"), {target}, cancel, [text, target] {
        return ApiResult<TranslationResult>(
            TranslationResult{QStringLiteral("[%1] %2").arg(target, text), QStringLiteral("da")});
    });
}

QCoro::Task<ApiResult<QList<NotificationPref>>>
ScriptedRepository::fetchNotificationPrefs(Cancellation cancel) {
    return answer<QList<NotificationPref>>(
        QStringLiteral("fetchNotificationPrefs"), {}, cancel,
        [this] { return ApiResult<QList<NotificationPref>>(prefs); });
}

QCoro::Task<ApiResult<NotificationPref>>
ScriptedRepository::updateNotificationPref(QString projectID, bool muted, Cancellation cancel) {
    return answer<NotificationPref>(
        QStringLiteral("updateNotificationPref"), {projectID}, cancel, [projectID, muted] {
            return ApiResult<NotificationPref>(
                NotificationPref{projectID, muted, false, false, false});
        });
}

QCoro::Task<ApiResult<QList<Snippet>>> ScriptedRepository::fetchSnippets(QString projectID,
                                                                         Cancellation cancel) {
    return answer<QList<Snippet>>(QStringLiteral("fetchSnippets"), {projectID}, cancel,
                                  [this, projectID] { return snippetsOf(projectID); });
}

QCoro::Task<ApiResult<Snippet>> ScriptedRepository::createSnippet(QString projectID,
                                                                  QString shortcut, QString title,
                                                                  QString body, QString emoji,
                                                                  Cancellation cancel) {
    return answer<Snippet>(QStringLiteral("createSnippet"), {projectID}, cancel,
                           [this, projectID, shortcut, title, body, emoji] {
                               const Snippet s{QStringLiteral("snip_%1").arg(
                                                   calls.value(QStringLiteral("createSnippet"))),
                                               shortcut, title, body, emoji};
                               snippets[projectID].append(s);
                               return ApiResult<Snippet>(s);
                           });
}

QCoro::Task<ApiResult<Snippet>>
ScriptedRepository::updateSnippet(QString projectID, QString snippetID, QString shortcut,
                                  QString title, QString body, QString emoji, Cancellation cancel) {
    return answer<Snippet>(QStringLiteral("updateSnippet"), {projectID, snippetID}, cancel,
                           [this, projectID, snippetID, shortcut, title, body, emoji] {
                               const Snippet s{snippetID, shortcut, title, body, emoji};
                               for (Snippet& old : snippets[projectID]) {
                                   if (old.id == snippetID)
                                       old = s;
                               }
                               return ApiResult<Snippet>(s);
                           });
}

QCoro::Task<ApiResult<void>> ScriptedRepository::deleteSnippet(QString projectID, QString snippetID,
                                                               Cancellation cancel) {
    return answer<void>(QStringLiteral("deleteSnippet"), {projectID, snippetID}, cancel,
                        [this, projectID, snippetID] {
                            auto& list = snippets[projectID];
                            list.erase(
                                std::remove_if(list.begin(), list.end(),
                                               [&](const Snippet& s) { return s.id == snippetID; }),
                                list.end());
                            return ApiResult<void>();
                        });
}

} // namespace kv::test
