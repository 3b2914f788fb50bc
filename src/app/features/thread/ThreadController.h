#pragma once

// The chat thread's view-model: how the open conversation (the state's one
// OpenConversation, which also decides when its messages are fetched) is
// shown — its header, the AI's suggestion, which bottom region fits its
// status, the messages with their translation controls — and the thread's
// actions.

#include "records/Records.h"

#include "DraftStore.h"

#include <QCoroTask>
#include <QObject>
#include <QPointer>
#include <QtQml/qqmlregistration.h>

namespace kv {

class AppState;

class MessageRows;
class ReversedRows;

class ThreadController : public QObject {
    Q_OBJECT
    QML_ELEMENT
    Q_PROPERTY(QString conversationID READ conversationID NOTIFY conversationIDChanged)
    Q_PROPERTY(kv::DraftStore* drafts READ drafts WRITE setDrafts NOTIFY draftsChanged)
    Q_PROPERTY(bool exists READ exists NOTIFY conversationChanged)
    Q_PROPERTY(QString visitorName READ visitorName NOTIFY conversationChanged)
    Q_PROPERTY(QString initials READ initials NOTIFY conversationChanged)
    Q_PROPERTY(QString country READ country NOTIFY conversationChanged)
    Q_PROPERTY(kv::ConversationStatus status READ status NOTIFY conversationChanged)
    Q_PROPERTY(QString statusText READ statusText NOTIFY conversationChanged)
    Q_PROPERTY(bool resolved READ resolved NOTIFY conversationChanged)
    Q_PROPERTY(QString subtitle READ subtitle NOTIFY conversationChanged)
    Q_PROPERTY(bool suggestionVisible READ suggestionVisible NOTIFY suggestionChanged)
    Q_PROPERTY(QString suggestion READ suggestion NOTIFY conversationChanged)
    Q_PROPERTY(Region bottomRegion READ bottomRegion NOTIFY bottomRegionChanged)
    Q_PROPERTY(bool contextPanelVisible READ contextPanelVisible NOTIFY contextPanelVisibleChanged)
    // The messages newest first, for a list laid out from the bottom up.
    Q_PROPERTY(QObject* messages READ messages CONSTANT)
    // Whether the messages are being fetched, and "Couldn’t load messages:
    // <reason>" while the last fetch of this thread failed.
    Q_PROPERTY(bool loading READ loading NOTIFY loadStatusChanged)
    Q_PROPERTY(QString error READ error NOTIFY loadStatusChanged)
    Q_PROPERTY(
        QStringList translationEntries READ translationEntries NOTIFY translationEntriesChanged)

public:
    enum Region { ComposerRegion, TakeOverRegion, ResolvedRegion };
    Q_ENUM(Region)

    explicit ThreadController(QObject* parent = nullptr);
    ThreadController(AppState* state, QObject* parent);

    QString conversationID() const { return m_conversationID; }
    DraftStore* drafts() const { return m_drafts; }
    void setDrafts(DraftStore* drafts);

    bool exists() const { return m_conversation.has_value(); }
    QString visitorName() const;
    QString initials() const;
    QString country() const;
    ConversationStatus status() const;
    QString statusText() const;
    bool resolved() const;
    QString subtitle() const;
    bool suggestionVisible() const;
    QString suggestion() const;
    Region bottomRegion() const;
    bool contextPanelVisible() const;
    QObject* messages() const;
    bool loading() const;
    QString error() const;
    QStringList translationEntries() const;

    Q_INVOKABLE void resolve();
    // Fetches the messages again after a failure.
    Q_INVOKABLE void retry();
    // The whole text of a message as shown (original or translation), on the clipboard.
    Q_INVOKABLE void copyMessage(const QString& messageID);
    Q_INVOKABLE void openInBrowser();
    Q_INVOKABLE void takeOver();
    Q_INVOKABLE void useSuggestion();
    Q_INVOKABLE void dismissSuggestion();
    Q_INVOKABLE void toggleContextPanel();
    // A link in a message: opened only for web pages and mail.
    Q_INVOKABLE bool openLink(const QString& link);
    Q_INVOKABLE void toggleTranslation(const QString& messageID);
    // Translates into the language of menu entry `entry` (0: the default).
    Q_INVOKABLE void translate(const QString& messageID, int entry);
    // The keyboard's translate on the focused message: between translation and
    // original once there is one, else into the default language; nothing
    // while a translation is under way or for a message that has none to offer.
    Q_INVOKABLE void translateFromKeyboard(const QString& messageID);

signals:
    void conversationIDChanged();
    void draftsChanged();
    void conversationChanged();
    void suggestionChanged();
    void bottomRegionChanged();
    void contextPanelVisibleChanged();
    void loadStatusChanged();
    void translationEntriesChanged();

private:
    void followOpenConversation();
    void refresh();
    QCoro::Task<> translateTask(QString conversationID, QString messageID,
                                std::optional<QString> target);

    AppState* m_state;
    QPointer<DraftStore> m_drafts;
    MessageRows* m_messages; // oldest first, as the conversation holds them
    ReversedRows* m_newestFirst;
    QString m_conversationID;
    std::optional<Conversation> m_conversation;
    bool m_didTakeOver = false;
};

} // namespace kv
