#pragma once

// The one state object of the console: everything loaded from the service,
// the selection, the sign-in and load status, and every operation the
// screens call. Lives on the main thread; service calls suspend and resume
// there. Observed fields notify only when their value changes.

#include "Enums.h"
#include "RecordRoles.h"
#include "service/Cancellation.h"
#include "service/Repository.h"
#include "service/SseClient.h"
#include "state/SignInFlow.h"

#include <QHash>
#include <QObject>
#include <QSet>

#include <functional>
#include <memory>

class QNetworkAccessManager;
class QSettings;

namespace kv {

class Badge;
class Browser;
class CredentialStore;
class NotificationManager;

// What a conversation looked like at the last look, for change detection.
struct ConvSig {
    bool needsOperator = false;
    qint64 messageCount = 0;
    bool hasUnread = false;
    bool operator==(const ConvSig&) const = default;
};

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
    static constexpr char kAppearanceKey[] = "KestovarMac.appearance";
    static constexpr char kFontSizeKey[] = "KestovarMac.fontSize";
    static constexpr char kTranslationKey[] = "translation.targetLanguage";
    static constexpr char kAllScope[] = "__all__";
    static constexpr qint64 kConversationLimit = 50;

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
    // and nothing it fetched is assigned, recorded or notified afterwards. The
    // operations that take a token run under that narrower one instead (a
    // child of the session, such as the debounce's or the poll loop's).

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
    // The engine code for the stored target language, read now.
    QString translationTargetCode() const;
    // The stored target language as its raw text ("system", "da", …), empty when none.
    QString translationPreference() const;
    void setTranslationPreference(const QString& raw);

    // ---- live visitors and refreshes -----------------------------------------
    QCoro::Task<> loadLiveVisitors(std::optional<QString> projectID,
                                   std::optional<Cancellation> cancel = {});
    void updateDockBadge();
    void scheduleRealtimeRefresh();
    QCoro::Task<> realtimeRefresh(std::optional<Cancellation> cancel = {});
    void scheduleSuppressionFallback();
    void startPoll();
    bool notificationsSuppressed() const { return m_notificationsSuppressed; }

    // ---- change detection (all agents, independent of the selection) ------------
    QCoro::Task<> detectionRefresh(std::optional<Cancellation> cancel = {});
    void detectConversationChanges(const QList<Conversation>& list, const QString& scope);
    void detectVisitorChanges(const QList<Visitor>& list, const QString& scope);
    struct VisitorGroup {
        QString id; // the agent, or empty for visitors of an agent not listed
        std::optional<Project> project;
        QList<Visitor> visitors; // most recently seen first
    };
    QList<VisitorGroup> visibleVisitorGroups() const;
    static QString flagEmoji(const std::optional<QString>& countryCode);
    // For the screens: an empty code stands for none.
    Q_INVOKABLE QString flag(const QString& countryCode) const {
        return flagEmoji(countryCode.isEmpty() ? std::nullopt : std::optional(countryCode));
    }

    // ---- statistics -----------------------------------------------------------
    static QString statsKey(const std::optional<QString>& projectID, qint64 days);
    QCoro::Task<> loadStats(std::optional<QString> projectID, qint64 days,
                            Cancellation cancel = {});
    QCoro::Task<> retryStats(std::optional<QString> projectID, qint64 days);
    std::optional<ProjectStats> cachedStats(const std::optional<QString>& projectID,
                                            qint64 days) const;
    std::optional<QString> statsError(const QString& key) const;

    // ---- snippets ---------------------------------------------------------------
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
    QCoro::Task<> loadNotificationPrefs();
    QCoro::Task<> setProjectMuted(QString projectID, bool muted);
    void upsertPref(const QString& projectID, bool muted);
    Q_INVOKABLE bool isProjectMuted(const QString& projectID) const;

    // ---- fields ---------------------------------------------------------------
    LoadState loadState() const { return m_loadState; }
    QString loadError() const { return m_loadError; }
    AuthStatus authStatus() const { return m_authStatus; }
    std::optional<User> user() const { return m_user; }
    QString userName() const { return m_user ? m_user->name : QString(); }
    QString userEmail() const { return m_user ? m_user->email : QString(); }
    bool signInPending() const { return m_signInFlow->isPending(); }

    const QList<Project>& projects() const { return m_projects->items(); }
    // Unread conversations over all agents, as the badge and the tray show them.
    qint64 unreadTotal() const;
    const QList<Client>& clients() const { return m_clients->items(); }
    const QList<Conversation>& conversations() const { return m_conversations->items(); }
    QString conversationsError() const { return m_conversationsError; }
    const QList<Visitor>& liveVisitors() const { return m_liveVisitors->items(); }
    const QList<Snippet>& snippets() const { return m_snippets->items(); }
    const QList<NotificationPref>& notificationPrefs() const { return m_prefs->items(); }
    ProjectListModel* projectsModel() const { return m_projects; }
    ClientListModel* clientsModel() const { return m_clients; }
    ConversationListModel* conversationsModel() const { return m_conversations; }
    VisitorListModel* liveVisitorsModel() const { return m_liveVisitors; }
    SnippetListModel* snippetsModel() const { return m_snippets; }
    NotificationPrefListModel* notificationPrefsModel() const { return m_prefs; }
    MessageListModel* selectedMessagesModel() const { return m_selectedMessages; }

    std::optional<QString> selectedProjectID() const { return m_selectedProjectID; }
    void setSelectedProjectID(std::optional<QString> id);
    AppSection selectedSection() const { return m_selectedSection; }
    void setSelectedSection(AppSection section);
    std::optional<QString> selectedConversationID() const { return m_selectedConversationID; }
    void setSelectedConversationID(std::optional<QString> id);
    std::optional<QString> selectedVisitorID() const { return m_selectedVisitorID; }
    void setSelectedVisitorID(std::optional<QString> id);
    int statsDays() const { return m_statsDays; }
    void setStatsDays(int days);
    ConnectionState connectionState() const { return m_connectionState; }
    AppearancePreference appearance() const { return m_appearance; }
    void setAppearance(AppearancePreference value);
    FontSizePreference fontSize() const { return m_fontSize; }
    void setFontSize(FontSizePreference value);
    bool contextPanelVisible() const { return m_contextPanelVisible; }
    void setContextPanelVisible(bool visible);

    // Why the last fetch of a conversation's messages failed; empty once one succeeds.
    QString detailError(const QString& conversationID) const {
        return m_detailErrors.value(conversationID);
    }
    const QHash<QString, QList<Message>>& apiMessagesByConversation() const {
        return m_apiMessages;
    }
    const QHash<QString, QList<Message>>& localMessagesByConversation() const {
        return m_localMessages;
    }

    ApiClient& api() { return *m_api; }
    Repository& repository() { return *m_repository; }
    SSEClient& sse() { return *m_sse; }
    SignInFlow& signInFlow() { return *m_signInFlow; }

    // Change detection state, kept per scope; the notification side reads and writes it.
    QSet<QString> primedVisitorScopes;
    QHash<QString, QSet<QString>> knownVisitorIDs;
    QSet<QString> primedConversationScopes;
    QHash<QString, QHash<QString, ConvSig>> convSnapshot;

signals:
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
    void setLoadState(LoadState state, const QString& error = QString());
    void setAuthStatus(AuthStatus status, std::optional<User> user = std::nullopt);
    void setProjects(const QList<Project>& list);
    void setClients(const QList<Client>& list);
    void setConversations(const QList<Conversation>& list);
    void setConversationsError(const QString& text);
    void setLiveVisitors(const QList<Visitor>& list);
    void setSnippets(const QList<Snippet>& list);
    void setNotificationPrefs(const QList<NotificationPref>& list);
    void setConnectionState(ConnectionState state);
    void setMessageMaps(QHash<QString, QList<Message>> api, QHash<QString, QList<Message>> local);
    void refreshSelectedMessages();
    void setDetailError(const QString& conversationID, const QString& text);
    void replaceConversation(const Conversation& updated);
    void decrementUnread(const QString& projectID);
    void resetScope(const QString& scope);
    void repairConversationSelection();
    // The agent of a conversation in `conversations`; none when it is not listed.
    std::optional<QString> projectOfListed(const QString& conversationID) const;
    void wireRealtime();
    void handleRealtime(const RealtimeEvent& event);
    QCoro::Task<> debouncedRefresh(Cancellation cancel);
    QCoro::Task<> suppressionFallback(Cancellation cancel);
    QCoro::Task<> pollLoop(Cancellation cancel);
    QCoro::Task<> startSignedInServices();
    // True (after signing out) when `error` is the service refusing the key.
    bool signedOutBy(const ApiError& error);
    // Signs out on a refused key; otherwise logs "<operation> failed: <description>".
    void reportFailure(const char* operation, const ApiError& error);
    // Sign-out: stops and cancels the session's work, deletes the stored key
    // unless the caller already has, then clears what the session loaded.
    void endSession(bool forgetStoredKey);
    // The token for work started now: the caller's, or the session's.
    Cancellation within(const std::optional<Cancellation>& cancel) const {
        return cancel.value_or(m_session);
    }

    Dependencies m_deps;
    std::unique_ptr<ApiClient> m_api;
    std::unique_ptr<Repository> m_repository;
    std::unique_ptr<SSEClient> m_sse;
    SignInFlow* m_signInFlow;
    bool m_keyRead = false;
    // Cancelled, and replaced, when the session ends (and when the state goes).
    Cancellation m_session;

    std::optional<Cancellation> m_realtimeRefreshTask;
    std::optional<Cancellation> m_pollTask;
    std::optional<Cancellation> m_suppressionFallbackTask;
    bool m_notificationsSuppressed = true;
    bool m_sseCatchUpEverSignalled = false;

    LoadState m_loadState = LoadState::idle;
    QString m_loadError;
    AuthStatus m_authStatus = AuthStatus::signedOut;
    std::optional<User> m_user;
    ProjectListModel* m_projects;
    ClientListModel* m_clients;
    ConversationListModel* m_conversations;
    QString m_conversationsError;
    QHash<QString, QString> m_detailErrors;
    VisitorListModel* m_liveVisitors;
    SnippetListModel* m_snippets;
    std::optional<QString> m_snippetsProjectID;
    NotificationPrefListModel* m_prefs;
    MessageListModel* m_selectedMessages;
    std::optional<QString> m_selectedProjectID;
    AppSection m_selectedSection = AppSection::inbox;
    std::optional<QString> m_selectedConversationID;
    std::optional<QString> m_selectedVisitorID;
    int m_statsDays = 30;
    ConnectionState m_connectionState = ConnectionState::connected;
    AppearancePreference m_appearance = AppearancePreference::system;
    FontSizePreference m_fontSize = FontSizePreference::normal;
    bool m_contextPanelVisible = true;
    QHash<QString, QList<Message>> m_apiMessages;
    QHash<QString, QList<Message>> m_localMessages;
    QHash<QString, ProjectStats> m_statsCache;
    QHash<QString, QString> m_statsError;

    // Q_PROPERTY adapters: an empty text stands for none.
    QString selectedProjectIDText() const { return m_selectedProjectID.value_or(QString()); }
    void setSelectedProjectIDText(const QString& id);
    QString selectedConversationIDText() const {
        return m_selectedConversationID.value_or(QString());
    }
    void setSelectedConversationIDText(const QString& id);
    QString selectedVisitorIDText() const { return m_selectedVisitorID.value_or(QString()); }
    void setSelectedVisitorIDText(const QString& id);
};

} // namespace kv
