#include "OpenConversation.h"

#include "ConversationStore.h"

#include <QPointer>
#include <QSet>

namespace kv {

OpenConversation::OpenConversation(ConversationStore* store, QObject* parent)
    : QObject(parent), m_store(store), m_messages(newMessageModel(this)) {
    connect(m_store, &ConversationStore::listChanged, this, &OpenConversation::followList);
    connect(m_store, &ConversationStore::messagesChanged, this, &OpenConversation::followMessages);
    connect(m_store, &ConversationStore::detailStatusChanged, this, [this](const QString& id) {
        if (id != m_id)
            return;
        emit statusChanged();
        // A fetch someone else started is over: the newer one asked for meanwhile goes now.
        if (m_fetchAgain && !m_fetching && !m_store->detailLoading(id)) {
            m_fetchAgain = false;
            fetch(false);
        }
    });
}

void OpenConversation::open(std::optional<QString> id) {
    if (m_id == id)
        return;
    m_id = std::move(id);
    m_store->setKept(m_id);
    m_fetchAgain = false;
    emit idChanged();
    emit statusChanged();
    m_conversation.reset();
    followList();
    followMessages();
}

bool OpenConversation::loading() const {
    return m_id && m_store->detailLoading(*m_id);
}

QString OpenConversation::error() const {
    return m_id ? m_store->detailError(*m_id) : QString();
}

void OpenConversation::retry() {
    fetch(true); // after a fetch under way, which may have begun before what was wrong was mended
}

void OpenConversation::followList() {
    const std::optional<Conversation> found = m_id ? m_store->find(*m_id) : std::nullopt;
    if (found == m_conversation) {
        if (found && !m_store->knowsMessagesOf(found->id))
            fetch(false); // listed, with its messages forgotten (a fresh list)
        return;
    }
    // A refreshed list that says the conversation has new messages (the
    // visitor wrote, a reply went out) means its messages are out of date.
    const bool changed = m_conversation && found &&
                         (found->messageCount != m_conversation->messageCount ||
                          found->lastMessageAt != m_conversation->lastMessageAt);
    m_conversation = found;
    emit conversationChanged();
    if (found && (changed || !m_store->knowsMessagesOf(found->id)))
        fetch(changed);
}

void OpenConversation::followMessages() {
    QList<Message> shown;
    if (m_id) {
        // A sent reply shows once, also after the service's list holds it.
        shown = m_store->apiMessages().value(*m_id);
        const QList<Message> local = m_store->localMessages().value(*m_id);
        if (!local.isEmpty()) {
            QSet<QString> known;
            known.reserve(shown.size());
            for (const Message& m : shown)
                known.insert(m.id);
            for (const Message& m : local) {
                if (!known.contains(m.id))
                    shown.append(m);
            }
        }
    }
    m_messages->apply(shown);
    // Forgotten by a fresh list while open: fetched again (unless on their way already).
    if (m_conversation && !m_store->knowsMessagesOf(m_conversation->id))
        fetch(false);
}

void OpenConversation::fetch(bool newerThanUnderWay) {
    if (!m_conversation)
        return;
    if (m_fetching || m_store->detailLoading(m_conversation->id)) {
        // The fetch under way answers, unless what is wanted is newer than it.
        if (newerThanUnderWay)
            m_fetchAgain = true;
        return;
    }
    m_fetching = true;
    [](QPointer<OpenConversation> self, ConversationStore* store, QString id) -> QCoro::Task<> {
        co_await store->loadDetail(id);
        if (!self)
            co_return;
        self->m_fetching = false;
        // Asked again meanwhile, or another conversation opened: look once more.
        if (std::exchange(self->m_fetchAgain, false) || self->m_id != id) {
            if (self->m_conversation && (self->m_id == id || !store->knowsMessagesOf(*self->m_id)))
                self->fetch(false);
        }
    }(this, m_store, m_conversation->id);
}

} // namespace kv
