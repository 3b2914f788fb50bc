#pragma once

// The conversations of the scope in view (one agent, or all) and what is
// known of their messages: the service's, as its last detail returned them,
// and the replies sent from here since the list was loaded.
//
// Ordering rule: the last list load started wins (a sequence number); an
// answer for a scope the operator has left is dropped. Per conversation, one
// detail load at a time, so two answers never cross: a load asked for while
// one runs gives exactly one more after it, which answers everyone who asked
// meanwhile (the one under way may have begun before what they know
// changed). A list keeps the messages of the conversations it lists, and of
// the open one, and forgets the rest: the tables never outgrow what is
// listed. At sign-out everything goes and every load on its way is dropped.

#include "RecordRoles.h"
#include "StoreContext.h"
#include "service/WaitList.h"

#include <QHash>
#include <QObject>

namespace kv {

class ConversationStore : public QObject {
    Q_OBJECT

public:
    explicit ConversationStore(StoreContext context, QObject* parent = nullptr);

    // ---- the list -------------------------------------------------------------
    enum class ListOutcome { applied, failed, dropped };
    // Loads the list of `projectID` (none: every agent's). `scope` says which scope the
    // operator is in: an answer that arrives after they left the scope of the start is dropped.
    // `fresh` (the operator's own load) also forgets every message known so far.
    QCoro::Task<ListOutcome> loadList(std::optional<QString> projectID,
                                      std::function<std::optional<QString>()> scope, bool fresh,
                                      std::optional<Cancellation> cancel = std::nullopt);
    const QList<Conversation>& conversations() const { return m_list->items(); }
    ConversationListModel* model() const { return m_list; }
    std::optional<Conversation> find(const QString& id) const { return m_list->find(id); }
    bool loading() const { return m_loading; }
    // Why the last list load failed; empty once one succeeds.
    QString error() const { return m_error; }

    // ---- messages ---------------------------------------------------------------
    // Fetches a listed conversation's detail: its record and its messages (or
    // waits for the fetch under way).
    QCoro::Task<> loadDetail(QString conversationID);
    bool detailLoading(const QString& conversationID) const {
        return m_detailLoading.contains(conversationID);
    }
    // Why the last fetch of a conversation's messages failed; empty once one succeeds.
    QString detailError(const QString& conversationID) const {
        return m_detailErrors.value(conversationID);
    }
    // The service's messages followed by those sent from here.
    QList<Message> messages(const QString& conversationID) const;
    bool knowsMessagesOf(const QString& conversationID) const {
        return m_api.contains(conversationID);
    }
    const QHash<QString, QList<Message>>& apiMessages() const { return m_api; }
    const QHash<QString, QList<Message>>& localMessages() const { return m_local; }
    // Messages kept whatever a list says (the open conversation's).
    void setKept(std::optional<QString> conversationID) { m_kept = std::move(conversationID); }

    // ---- changes the service confirmed -------------------------------------------
    // A reply went out: the conversation as the service now has it, and the reply.
    // Returns whether the conversation was unread until now.
    bool replied(const QString& conversationID, const QString& text,
                 const SendMessageResult& result);
    // Returns whether the conversation was unread until now.
    bool resolved(const QString& conversationID);
    void translated(const QString& conversationID, const QString& messageID,
                    const QString& translation, const QString& detectedLanguage);

    void clear();

signals:
    void listChanged();
    void statusChanged(); // loading or error of the list
    void messagesChanged();
    void detailStatusChanged(const QString& conversationID); // loading or error of a detail

private:
    void setListStatus(bool loading, const QString& error);
    void setDetailStatus(const QString& conversationID, bool loading, const QString& error);
    void forgetUnlisted();

    StoreContext m_context;
    ConversationListModel* m_list;
    LoadSequence m_listSequence;
    bool m_loading = false;
    QString m_error;
    QHash<QString, QList<Message>> m_api;
    QHash<QString, QList<Message>> m_local;
    QHash<QString, QString> m_detailErrors;
    QSet<QString> m_detailLoading;
    QSet<QString> m_detailAgain; // asked for while its fetch ran: one more is owed
    WaitList m_detailFinished;   // requests waiting for a fetch under way
    std::optional<QString> m_kept;
};

} // namespace kv
