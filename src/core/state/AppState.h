#pragma once

// The one state object of the console, as the screens and the shell know it:
// the documented fields and operations, in front of the small objects that
// own each piece of state and keep its ordering rule —
//   Session               who is signed in, the account's agents and clients, the session token
//   ConversationStore     the scope's conversations and what is known of their messages
//   OpenConversation      the conversation open in the thread
//   VisitorStore          the scope's live visitors
//   StatsCache            statistics by agent and range
//   SnippetStore          canned replies by agent
//   NotificationPrefStore the agents muted for notifications
//   Preferences           appearance, text size, translation target, context panel
//   ChangeDetector        what the polling path announces
//   Notices               failed actions the operator fired and forgot
// This object holds the selection and the realtime wiring, and connects the
// others. Lives on the main thread; service calls suspend and resume there.
// Observed fields notify only when their value changes.

#include "ChangeDetector.h"
#include "ConversationStore.h"
#include "Enums.h"
#include "Notices.h"
#include "NotificationPrefStore.h"
#include "OpenConversation.h"
#include "Preferences.h"
#include "RecordRoles.h"
#include "Scopes.h"
#include "Session.h"
#include "SnippetStore.h"
#include "StatsCache.h"
#include "VisitorStore.h"
#include "service/Cancellation.h"
#include "service/Repository.h"
#include "service/SseClient.h"
#include "state/SignInFlow.h"

#include <QObject>

#include <functional>
#include <memory>

class QNetworkAccessManager;
class QSettings;

namespace kv {

class Badge;
class Browser;
class CredentialStore;
class NotificationManager;

class AppState : public QObject {
    Q_OBJECT
    Q_PROPERTY(kv::LoadState loadState READ loadState NOTIFY loadStateChanged)
    Q_PROPERTY(QString loadError READ loadError NOTIFY loadStateChanged)
    Q_PROPERTY(kv::AuthStatus authStatus READ authStatus NOTIFY authStatusChanged)
    Q_PROPERTY(QString userName READ userName NOTIFY authStatusChanged)
    Q_PROPERTY(QString userEmail READ userEmail NOTIFY authStatusChanged)
    Q_PROPERTY(QObject* projects READ projectsModel CONSTANT)
    Q_PROPERTY(qint64 unreadTotal READ unreadTotal NOTIFY projectsChanged)
    Q_PROPERTY(QObject* clients READ clientsModel CONSTANT)
    Q_PROPERTY(QObject* conversations READ conversationsModel CONSTANT)
    Q_PROPERTY(QString conversationsError READ conversationsError NOTIFY conversationsErrorChanged)
    Q_PROPERTY(QObject* liveVisitors READ liveVisitorsModel CONSTANT)
    Q_PROPERTY(QObject* snippets READ snippetsModel CONSTANT)
    Q_PROPERTY(QObject* notificationPrefs READ notificationPrefsModel CONSTANT)
    Q_PROPERTY(QObject* selectedMessages READ selectedMessagesModel CONSTANT)
    Q_PROPERTY(QObject* openConversation READ openConversation CONSTANT)
    Q_PROPERTY(kv::Notices* notices READ notices CONSTANT)
    Q_PROPERTY(QString selectedProjectID READ selectedProjectIDText WRITE setSelectedProjectIDText
                   NOTIFY selectedProjectIDChanged)
    Q_PROPERTY(kv::AppSection selectedSection READ selectedSection WRITE setSelectedSection NOTIFY
                   selectedSectionChanged)
    Q_PROPERTY(QString selectedConversationID READ selectedConversationIDText WRITE
                   setSelectedConversationIDText NOTIFY selectedConversationIDChanged)
    Q_PROPERTY(QString selectedVisitorID READ selectedVisitorIDText WRITE setSelectedVisitorIDText
                   NOTIFY selectedVisitorIDChanged)
    Q_PROPERTY(int statsDays READ statsDays WRITE setStatsDays NOTIFY statsDaysChanged)
    Q_PROPERTY(
        kv::ConnectionState connectionState READ connectionState NOTIFY connectionStateChanged)
    Q_PROPERTY(kv::AppearancePreference appearance READ appearance WRITE setAppearance NOTIFY
                   appearanceChanged)
    Q_PROPERTY(
        kv::FontSizePreference fontSize READ fontSize WRITE setFontSize NOTIFY fontSizeChanged)
    Q_PROPERTY(bool contextPanelVisible READ contextPanelVisible WRITE setContextPanelVisible NOTIFY
                   contextPanelVisibleChanged)
    Q_PROPERTY(bool signInPending READ signInPending NOTIFY authStatusChanged)

public:
    static constexpr const char* kAppearanceKey = Preferences::kAppearanceKey;
    static constexpr const char* kFontSizeKey = Preferences::kFontSizeKey;
    static constexpr const char* kTranslationKey = Preferences::kTranslationKey;

    struct Dependencies {
        QNetworkAccessManager* network = nullptr;
        CredentialStore* credentials = nullptr;
        QSettings* settings = nullptr;
        Browser* browser = nullptr;
        Badge* badge = nullptr;                       // none: nothing shows the unread count
        NotificationManager* notifications = nullptr; // none: nothing is notified
        // Builds the data-access layer; a LiveRepository over the client when unset.
        std::function<std::unique_ptr<Repository>(ApiClient*)> makeRepository;
    };

    explicit AppState(Dependencies deps, QObject* parent = nullptr);
    ~AppState() override;

    // Service work runs under the signed-in session: signing out cancels it,
    // and nothing it fetched is assigned, recorded or notified afterwards.
    // Nothing is asked of the service while signed out.

    // ---- lifecycle -----------------------------------------------------------
    QCoro::Task<> bootstrap();
    QCoro::Task<ApiResult<void>> refreshTopLevel(std::optional<Cancellation> cancel = {});
    Q_INVOKABLE void signOut();
    QCoro::Task<> navigate(QString projectID, std::optional<QString> conversationID);
    std::optional<Project> project(const QString& projectID) const;
    Visitor resolvedVisitor(const Conversation& conversation) const;

    // ---- sign-in and links --------------------------------------------------
    Q_INVOKABLE void beginSignIn();
    Q_INVOKABLE void cancelSignIn();
    // A page of the service's website (for example "/signup") in the browser.
    Q_INVOKABLE void openWebPage(const QString& path);
    // Any address in the browser; the screens decide which addresses are safe to open.
    void openInBrowser(const QUrl& url);
    QCoro::Task<> handleIncomingURL(QUrl url);
    QCoro::Task<> handleDeepLink(QUrl url);

    // ---- conversations and messages ----------------------------------------
    QCoro::Task<> loadConversations(std::optional<QString> projectID);
    QCoro::Task<> loadConversationDetail(QString conversationID);
    QList<Message> messages(const QString& conversationID) const;
    // Whether the service stored the reply, and why not: the composer and the
    // quick-reply window give the text back with the reason.
    QCoro::Task<ApiResult<void>> sendOperatorReply(QString text, QString conversationID,
                                                   bool resolveAfter);
    QCoro::Task<ApiResult<void>> sendOperatorReplyDirect(QString projectID, QString conversationID,
                                                         QString text);
    QCoro::Task<> resolve(QString conversationID);
    QCoro::Task<> translateMessage(QString conversationID, QString messageID,
                                   std::optional<QString> overrideTarget = std::nullopt);
    void applyTranslation(const QString& conversationID, const QString& messageID,
                          const QString& translation, const QString& detectedLanguage);
    QString translationTargetCode() const { return m_preferences->translationTargetCode(); }
    QString translationPreference() const { return m_preferences->translationPreference(); }
    void setTranslationPreference(const QString& raw) {
        m_preferences->setTranslationPreference(raw);
    }

    // ---- live visitors and refreshes -----------------------------------------
    QCoro::Task<> loadLiveVisitors(std::optional<QString> projectID,
                                   std::optional<Cancellation> cancel = {});
    void updateDockBadge();
    void scheduleRealtimeRefresh();
    QCoro::Task<> realtimeRefresh(std::optional<Cancellation> cancel = {});
    void scheduleSuppressionFallback();
    void startPoll();
    // The machine woke, or the network came back: the stream may be dead
    // without a sign, and anything may have happened meanwhile. Reconnects the
    // stream at once (resuming where it was) and runs one full resync: the
    // scope's lists, detection, the agents and the badge. What the resync finds
    // is announced by detection's rules; the replay stays quiet as any catch-up.
    void resume(const QString& reason);
    // The network went: the stream reads reconnecting (not "Live") until it is back.
    void networkLost();
    bool notificationsSuppressed() const { return m_notificationsSuppressed; }

    // ---- change detection (all agents, independent of the selection) ------------
    // One look at a time; see ChangeDetector. The token is the caller's, for its own wait.
    QCoro::Task<> detectionRefresh(std::optional<Cancellation> cancel = {});
    void detectConversationChanges(const QList<Conversation>& list, const QString& scope) {
        m_detector->conversationsSeen(list, scope);
    }
    void detectVisitorChanges(const QList<Visitor>& list, const QString& scope) {
        m_detector->visitorsSeen(list, scope);
    }
    struct VisitorGroup {
        QString id; // the agent, or empty for visitors of an agent not listed
        std::optional<Project> project;
        QList<Visitor> visitors; // most recently seen first
    };
    QList<VisitorGroup> visibleVisitorGroups() const;
    static QString flagEmoji(const std::optional<QString>& countryCode) {
        return kv::flagEmoji(countryCode);
    }
    // For the screens: an empty code stands for none.
    Q_INVOKABLE QString flag(const QString& countryCode) const {
        return flagEmoji(countryCode.isEmpty() ? std::nullopt : std::optional(countryCode));
    }

    // ---- statistics -----------------------------------------------------------
    static QString statsKey(const std::optional<QString>& projectID, qint64 days) {
        return StatsCache::key(projectID, days);
    }
    QCoro::Task<> loadStats(std::optional<QString> projectID, qint64 days,
                            Cancellation cancel = {});
    QCoro::Task<> retryStats(std::optional<QString> projectID, qint64 days);
    std::optional<ProjectStats> cachedStats(const std::optional<QString>& projectID,
                                            qint64 days) const {
        return m_stats->cached(projectID, days);
    }
    std::optional<QString> statsError(const QString& key) const { return m_stats->error(key); }

    // ---- snippets ---------------------------------------------------------------
    // The snippets the composer offers: an agent's (none: no agent's).
    QCoro::Task<> loadSnippets(std::optional<QString> projectID);
    QCoro::Task<> reloadSnippetsIfCurrent(QString projectID);
    // Each says whether the service made the change, and why not: the
    // settings keep what the operator typed and show the reason.
    QCoro::Task<ApiResult<void>> removeSnippet(QString projectID, QString snippetID);
    QCoro::Task<ApiResult<void>> addSnippet(QString projectID, QString shortcut, QString title,
                                            QString body, QString emoji);
    QCoro::Task<ApiResult<void>> editSnippet(QString projectID, QString snippetID, QString shortcut,
                                             QString title, QString body, QString emoji);
    std::optional<QString> snippetsProjectID() const { return m_snippetsProjectID; }

    // ---- notification preferences --------------------------------------------
    QCoro::Task<> loadNotificationPrefs() { return m_prefs->load(); }
    QCoro::Task<> setProjectMuted(QString projectID, bool muted);
    void upsertPref(const QString& projectID, bool muted) { m_prefs->upsert(projectID, muted); }
    Q_INVOKABLE bool isProjectMuted(const QString& projectID) const {
        return m_prefs->isMuted(projectID);
    }

    // ---- fields ---------------------------------------------------------------
    LoadState loadState() const { return m_session->loadState(); }
    QString loadError() const { return m_session->loadError(); }
    AuthStatus authStatus() const { return m_session->status(); }
    std::optional<User> user() const { return m_session->user(); }
    QString userName() const { return user() ? user()->name : QString(); }
    QString userEmail() const { return user() ? user()->email : QString(); }
    bool signInPending() const { return m_signInFlow->isPending(); }

    const QList<Project>& projects() const { return m_session->projects(); }
    // Unread conversations over all agents, as the badge and the tray show them.
    qint64 unreadTotal() const { return m_session->unreadTotal(); }
    const QList<Client>& clients() const { return m_session->clients(); }
    const QList<Conversation>& conversations() const { return m_conversations->conversations(); }
    QString conversationsError() const { return m_conversations->error(); }
    const QList<Visitor>& liveVisitors() const { return m_visitors->visitors(); }
    const QList<Snippet>& snippets() const { return m_snippets->items(); }
    const QList<NotificationPref>& notificationPrefs() const { return m_prefs->prefs(); }
    ProjectListModel* projectsModel() const { return m_session->projectsModel(); }
    ClientListModel* clientsModel() const { return m_session->clientsModel(); }
    ConversationListModel* conversationsModel() const { return m_conversations->model(); }
    VisitorListModel* liveVisitorsModel() const { return m_visitors->model(); }
    SnippetListModel* snippetsModel() const { return m_snippets; }
    NotificationPrefListModel* notificationPrefsModel() const { return m_prefs->model(); }
    MessageListModel* selectedMessagesModel() const { return m_open->messagesModel(); }

    std::optional<QString> selectedProjectID() const { return m_selectedProjectID; }
    void setSelectedProjectID(std::optional<QString> id);
    AppSection selectedSection() const { return m_selectedSection; }
    void setSelectedSection(AppSection section);
    std::optional<QString> selectedConversationID() const { return m_open->id(); }
    void setSelectedConversationID(std::optional<QString> id);
    std::optional<QString> selectedVisitorID() const { return m_selectedVisitorID; }
    void setSelectedVisitorID(std::optional<QString> id);
    int statsDays() const { return m_statsDays; }
    void setStatsDays(int days);
    ConnectionState connectionState() const { return m_connectionState; }
    AppearancePreference appearance() const { return m_preferences->appearance(); }
    void setAppearance(AppearancePreference value) { m_preferences->setAppearance(value); }
    FontSizePreference fontSize() const { return m_preferences->fontSize(); }
    void setFontSize(FontSizePreference value) { m_preferences->setFontSize(value); }
    bool contextPanelVisible() const { return m_preferences->contextPanelVisible(); }
    void setContextPanelVisible(bool visible) { m_preferences->setContextPanelVisible(visible); }

    // Why the last fetch of a conversation's messages failed; empty once one succeeds.
    QString detailError(const QString& conversationID) const {
        return m_conversations->detailError(conversationID);
    }
    const QHash<QString, QList<Message>>& apiMessagesByConversation() const {
        return m_conversations->apiMessages();
    }
    const QHash<QString, QList<Message>>& localMessagesByConversation() const {
        return m_conversations->localMessages();
    }

    ApiClient& api() { return *m_api; }
    Repository& repository() { return *m_repository; }
    SSEClient& sse() { return *m_sse; }
    SignInFlow& signInFlow() { return *m_signInFlow; }

    // The stores, for the screens' view-models and tests.
    Session& session() const { return *m_session; }
    ConversationStore& conversationStore() const { return *m_conversations; }
    OpenConversation* openConversation() const { return m_open; }
    VisitorStore& visitorStore() const { return *m_visitors; }
    StatsCache& statsCache() const { return *m_stats; }
    SnippetStore& snippetStore() const { return *m_snippetStore; }
    Preferences& preferences() const { return *m_preferences; }
    ChangeDetector& changeDetector() const { return *m_detector; }
    Notices* notices() const { return m_notices; }

signals:
    // The operator signs out (a session that expires is not this): what the
    // account kept on this machine goes. Before anything of the session is cleared.
    void signingOut();
    void loadStateChanged();
    void authStatusChanged();
    void projectsChanged();
    void clientsChanged();
    void conversationsChanged();
    void conversationsErrorChanged();
    void liveVisitorsChanged();
    void snippetsChanged();
    void notificationPrefsChanged();
    void selectedProjectIDChanged();
    void selectedSectionChanged();
    void selectedConversationIDChanged();
    void selectedVisitorIDChanged();
    void statsDaysChanged();
    void connectionStateChanged();
    void appearanceChanged();
    void fontSizeChanged();
    void contextPanelVisibleChanged();
    // The stored translation target changed (the settings window, or another screen).
    void translationPreferenceChanged();
    void messagesChanged();
    void detailErrorsChanged();
    void statsChanged();

private:
    void wireStores();
    void setConnectionState(ConnectionState state);
    void repairConversationSelection();
    // The snippets the composer offers follow the open conversation's agent.
    void followOpenConversation();
    void showSnippetsOf(const std::optional<QString>& projectID);
    void wireRealtime();
    void handleRealtime(const RealtimeEvent& event);
    QCoro::Task<> debouncedRefresh(Cancellation cancel);
    QCoro::Task<> suppressionFallback(Cancellation cancel);
    QCoro::Task<> pollLoop(Cancellation cancel);
    QCoro::Task<> startSignedInServices();
    // True (after signing out) when `error` is the service refusing the key.
    bool signedOutBy(const ApiError& error);
    // Signs out on a refused key; otherwise logs "<operation> failed: <description>"
    // and, when `tell` is given, shows it in the notices.
    void reportFailure(const char* operation, const ApiError& error, const QString& tell = {});
    // Sign-out: stops and cancels the session's work, deletes the stored key
    // unless the caller already has, then clears what the session loaded.
    void endSession(bool forgetStoredKey);
    // The token for work started now: the caller's, or the session's.
    Cancellation within(const std::optional<Cancellation>& cancel) const {
        return cancel.value_or(m_session->token());
    }

    Dependencies m_deps;
    std::unique_ptr<ApiClient> m_api;
    std::unique_ptr<Repository> m_repository;
    std::unique_ptr<SSEClient> m_sse;
    SignInFlow* m_signInFlow;
    bool m_keyRead = false;

    Session* m_session;
    Preferences* m_preferences;
    ConversationStore* m_conversations;
    OpenConversation* m_open;
    VisitorStore* m_visitors;
    StatsCache* m_stats;
    SnippetStore* m_snippetStore;
    NotificationPrefStore* m_prefs;
    ChangeDetector* m_detector;
    Notices* m_notices;
    // The composer's snippets: the store's list of one agent.
    SnippetListModel* m_snippets;
    std::optional<QString> m_snippetsProjectID;

    std::optional<Cancellation> m_realtimeRefreshTask;
    std::optional<Cancellation> m_pollTask;
    std::optional<Cancellation> m_suppressionFallbackTask;
    bool m_notificationsSuppressed = true;
    bool m_sseCatchUpEverSignalled = false;

    std::optional<QString> m_selectedProjectID;
    AppSection m_selectedSection = AppSection::inbox;
    std::optional<QString> m_selectedVisitorID;
    int m_statsDays = 30;
    ConnectionState m_connectionState = ConnectionState::connected;

    // Q_PROPERTY adapters: an empty text stands for none.
    QString selectedProjectIDText() const { return m_selectedProjectID.value_or(QString()); }
    void setSelectedProjectIDText(const QString& id);
    QString selectedConversationIDText() const { return m_open->idText(); }
    void setSelectedConversationIDText(const QString& id);
    QString selectedVisitorIDText() const { return m_selectedVisitorID.value_or(QString()); }
    void setSelectedVisitorIDText(const QString& id);
};

} // namespace kv
