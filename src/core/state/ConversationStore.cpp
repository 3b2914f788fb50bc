#include "ConversationStore.h"

#include "Log.h"
#include "Scopes.h"
#include "Session.h"

#include <QPointer>

namespace kv {

ConversationStore::ConversationStore(StoreContext context, QObject* parent)
    : QObject(parent), m_context(std::move(context)), m_list(newConversationModel(this)) {}

QCoro::Task<ConversationStore::ListOutcome>
ConversationStore::loadList(std::optional<QString> projectID,
                            std::function<std::optional<QString>()> scope, bool fresh,
                            std::optional<Cancellation> within) {
    QPointer guard(this);
    if (!m_context.session->signedIn())
        co_return ListOutcome::dropped; // nothing is asked while signed out
    const Cancellation cancel = within.value_or(m_context.session->token());
    const quint64 ticket = m_listSequence.start();
    const auto scopeAtStart = scope();
    setListStatus(true, m_error);
    auto list = co_await m_context.repository().fetchConversations(projectID, std::nullopt,
                                                                   kConversationLimit, cancel);
    if (!guard || !m_listSequence.isLatest(ticket))
        co_return ListOutcome::dropped; // a later load answers
    if (cancel.isCancelled() || scope() != scopeAtStart) {
        setListStatus(false, m_error);
        co_return ListOutcome::dropped; // signed out, superseded, or the operator moved on
    }
    if (!list) {
        if (m_context.signedOutBy(list.error()))
            co_return ListOutcome::failed;
        const QString description = list.error().errorDescription();
        if (fresh) {
            qCWarning(lcAppState).noquote()
                << QStringLiteral("loadConversations failed: %1").arg(description);
            // An empty inbox that failed to load is not "no conversations".
            if (m_list->apply({}))
                emit listChanged();
            setListStatus(false, description);
        } else {
            qCWarning(lcAppState).noquote()
                << QStringLiteral("realtimeRefresh conversations failed: %1").arg(description);
            setListStatus(false, m_error);
        }
        co_return ListOutcome::failed;
    }
    if (fresh) {
        qCInfo(lcAppState).noquote()
            << QStringLiteral("loadConversations: got %1 conversations").arg(list->size());
        // The operator's own load starts the messages afresh.
        m_api.clear();
        m_local.clear();
    }
    if (m_list->apply(list.value()))
        emit listChanged();
    forgetUnlisted();
    if (fresh)
        emit messagesChanged();
    setListStatus(false, QString());
    co_return ListOutcome::applied;
}

QCoro::Task<> ConversationStore::loadDetail(QString conversationID) {
    QPointer guard(this);
    // One fetch of a conversation at a time. A request while one runs is
    // answered by one more fetch after it (that one may have begun before what
    // the caller knows changed), shared by everyone who asked meanwhile.
    if (m_detailLoading.contains(conversationID)) {
        m_detailAgain.insert(conversationID);
        while (guard && m_detailLoading.contains(conversationID)) {
            auto fetched = m_detailFinished.wait();
            co_await fetched;
        }
        // Another caller started the one more and it has answered, or sign-out ended it all.
        if (!guard || !m_detailAgain.remove(conversationID))
            co_return;
    }
    const auto listed = find(conversationID);
    if (!listed || !m_context.session->signedIn())
        co_return;
    const Cancellation cancel = m_context.session->token();
    setDetailStatus(conversationID, true, detailError(conversationID));
    auto detail = co_await m_context.repository().fetchConversationDetail(listed->projectID,
                                                                          conversationID, cancel);
    if (!guard || cancel.isCancelled())
        co_return; // signed out: clear() has ended the fetch for everyone waiting
    if (!detail) {
        if (m_context.signedOutBy(detail.error()))
            co_return;
        // The messages shown stay; the thread says they could not be brought up to date.
        const QString description = detail.error().errorDescription();
        qCWarning(lcAppState).noquote() << QStringLiteral("loadConversationDetail %1 failed: %2")
                                               .arg(conversationID, description);
        setDetailStatus(conversationID, false, description);
        co_return;
    }
    // Replaced in place while it is listed; its messages are kept while it is listed or open.
    if (m_list->update(conversationID, [&](Conversation& c) { c = detail->conversation; }))
        emit listChanged();
    if (find(conversationID) || m_kept == conversationID) {
        if (m_api.value(conversationID) != detail->messages || !m_api.contains(conversationID)) {
            m_api.insert(conversationID, detail->messages);
            emit messagesChanged();
        }
    }
    setDetailStatus(conversationID, false, QString());
}

QList<Message> ConversationStore::messages(const QString& conversationID) const {
    return m_api.value(conversationID) + m_local.value(conversationID);
}

bool ConversationStore::replied(const QString& conversationID, const QString& text,
                                const SendMessageResult& result) {
    bool wasUnread = false;
    const bool changed = m_list->update(conversationID, [&](Conversation& c) {
        wasUnread = c.hasUnread;
        const QString status = result.conversationStatus;
        const bool known = status == u"waiting" || status == u"active" ||
                           status == u"operator_active" || status == u"resolved";
        c.status = known ? conversationStatusFromWire(status) : ConversationStatus::operatorActive;
        c.lastMessagePreview = text;
        c.lastMessageAt = result.conversationLastMessageAt;
        c.messageCount += 1;
        c.hasUnread = false;
    });
    if (changed)
        emit listChanged();
    m_local[conversationID].append(result.message);
    emit messagesChanged();
    return wasUnread;
}

bool ConversationStore::resolved(const QString& conversationID) {
    bool wasUnread = false;
    if (m_list->update(conversationID, [&](Conversation& c) {
            wasUnread = c.hasUnread;
            c.status = ConversationStatus::resolved;
            c.hasUnread = false;
        }))
        emit listChanged();
    return wasUnread;
}

void ConversationStore::translated(const QString& conversationID, const QString& messageID,
                                   const QString& translation, const QString& detectedLanguage) {
    bool changed = false;
    auto apply = [&](QHash<QString, QList<Message>>& map) {
        auto list = map.find(conversationID);
        if (list == map.end())
            return;
        for (Message& m : *list) {
            if (m.id != messageID)
                continue;
            const Message before = m;
            m.translation = translation;
            if (!detectedLanguage.isEmpty())
                m.detectedLanguage = detectedLanguage;
            changed = changed || !(before == m);
            return;
        }
    };
    apply(m_api);
    apply(m_local);
    if (changed)
        emit messagesChanged();
}

void ConversationStore::clear() {
    m_listSequence.invalidate();
    m_kept.reset();
    if (m_list->apply({}))
        emit listChanged();
    const bool hadMessages = !m_api.isEmpty() || !m_local.isEmpty();
    m_api.clear();
    m_local.clear();
    if (hadMessages)
        emit messagesChanged();
    const QStringList details = QStringList(m_detailErrors.keys()) + m_detailLoading.values();
    m_detailErrors.clear();
    m_detailLoading.clear();
    m_detailAgain.clear();
    m_detailFinished.releaseAll();
    for (const QString& id : details)
        emit detailStatusChanged(id);
    setListStatus(false, QString());
}

void ConversationStore::forgetUnlisted() {
    const auto keep = [&](const QString& id) { return m_kept == id || m_list->rowOf(id) >= 0; };
    bool changed = false;
    for (auto* map : {&m_api, &m_local}) {
        for (auto it = map->begin(); it != map->end();) {
            if (keep(it.key())) {
                ++it;
            } else {
                it = map->erase(it);
                changed = true;
            }
        }
    }
    for (auto it = m_detailErrors.begin(); it != m_detailErrors.end();)
        it = keep(it.key()) ? std::next(it) : m_detailErrors.erase(it);
    if (changed)
        emit messagesChanged();
}

void ConversationStore::setListStatus(bool loading, const QString& error) {
    if (m_loading == loading && m_error == error)
        return;
    m_loading = loading;
    m_error = error;
    emit statusChanged();
}

void ConversationStore::setDetailStatus(const QString& conversationID, bool loading,
                                        const QString& error) {
    if (detailLoading(conversationID) == loading && detailError(conversationID) == error)
        return;
    if (loading) {
        m_detailLoading.insert(conversationID);
    } else {
        m_detailLoading.remove(conversationID);
        m_detailFinished.releaseAll();
    }
    if (error.isEmpty())
        m_detailErrors.remove(conversationID);
    else
        m_detailErrors.insert(conversationID, error);
    emit detailStatusChanged(conversationID);
}

} // namespace kv
