#pragma once

// The one conversation open in the thread: which it is, its record as last
// listed or fetched, its messages as shown (the service's, then the replies
// sent from here that the service's list does not hold yet), whether they are
// being fetched, and why the last fetch failed. The thread, the composer and
// the context panel show it; nothing else decides when its messages are
// fetched.
//
// Ordering rule: its messages are fetched when it opens and they are not
// known, when a refreshed list says it changed (a new message, a new status),
// when a list forgot them, and on retry. A fetch asked for while one runs
// gives exactly one more after it. The store orders the answers (the last
// fetch started wins); an answer for a conversation that is no longer open
// changes nothing here.

#include "RecordRoles.h"

#include <QObject>

namespace kv {

class ConversationStore;

class OpenConversation : public QObject {
    Q_OBJECT
    Q_PROPERTY(QString id READ idText NOTIFY idChanged)
    Q_PROPERTY(bool exists READ exists NOTIFY conversationChanged)
    Q_PROPERTY(QObject* messages READ messagesModel CONSTANT)
    Q_PROPERTY(bool loading READ loading NOTIFY statusChanged)
    Q_PROPERTY(QString error READ error NOTIFY statusChanged)

public:
    explicit OpenConversation(ConversationStore* store, QObject* parent = nullptr);

    std::optional<QString> id() const { return m_id; }
    QString idText() const { return m_id.value_or(QString()); }
    // Opens a conversation (none: the thread shows nothing).
    void open(std::optional<QString> id);

    // Its record while it is listed.
    const std::optional<Conversation>& conversation() const { return m_conversation; }
    bool exists() const { return m_conversation.has_value(); }
    MessageListModel* messagesModel() const { return m_messages; }
    const QList<Message>& messages() const { return m_messages->items(); }
    bool loading() const;
    QString error() const;

    // Fetches its messages again.
    Q_INVOKABLE void retry();

signals:
    void idChanged();
    void conversationChanged();
    void statusChanged();

private:
    void followList();
    void followMessages();
    // Fetches the messages; `newerThanUnderWay`: a fetch already under way is too old.
    void fetch(bool newerThanUnderWay);

    ConversationStore* m_store;
    std::optional<QString> m_id;
    std::optional<Conversation> m_conversation;
    MessageListModel* m_messages;
    bool m_fetching = false;
    bool m_fetchAgain = false;
};

} // namespace kv
