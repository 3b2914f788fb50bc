#include "AppState.h"

#include "Log.h"
#include "Timing.h"
#include "notifications/NotificationManager.h"
#include "platform/Badge.h"
#include "platform/CredentialStore.h"
#include "service/ApiKey.h"

#include <QPointer>

namespace kv {

AppState::AppState(Dependencies deps, QObject* parent) : QObject(parent), m_deps(std::move(deps)) {
    m_sse = std::make_unique<SSEClient>(m_deps.network, [this] { return m_api->apiKey(); });
    // The stored key is read at the first bootstrap: the desktop's secret
    // store answers asynchronously.
    m_api = std::make_unique<ApiClient>(m_deps.network);
    if (!m_deps.makeRepository) {
        m_deps.makeRepository = [](ApiClient* api) {
            return std::unique_ptr<Repository>(std::make_unique<LiveRepository>(api));
        };
    }
    m_repository = m_deps.makeRepository(m_api.get());
    m_signInFlow = new SignInFlow(m_api.get(), m_deps.settings, m_deps.browser, this);

    m_session = new Session(this);
    const StoreContext context{[this]() -> Repository& { return *m_repository; }, m_session,
                               [this](const ApiError& error) { return signedOutBy(error); }};
    m_preferences = new Preferences(m_deps.settings, this);
    m_conversations = new ConversationStore(context, this);
    m_open = new OpenConversation(m_conversations, this);
    m_visitors = new VisitorStore(context, this);
    m_stats = new StatsCache(context, this);
    m_snippetStore = new SnippetStore(context, this);
    m_prefs = new NotificationPrefStore(context, this);
    m_notices = new Notices(this);
    m_snippets = newSnippetModel(this);
    m_detector = new ChangeDetector(
        ChangeDetector::Context{[this]() -> Repository& { return *m_repository; },
                                [this] { return m_session->token(); },
                                [this](const QString& id) { return project(id); },
                                [this] { return m_notificationsSuppressed; }, m_deps.notifications},
        this);
    wireStores();
    wireRealtime();
}

AppState::~AppState() {
    // Work still pending finds its token cancelled when it resumes.
    m_session->token().cancel();
    m_sse.reset();
}

void AppState::wireStores() {
    connect(m_signInFlow, &SignInFlow::pendingChanged, this, &AppState::authStatusChanged);
    connect(m_session, &Session::statusChanged, this, &AppState::authStatusChanged);
    connect(m_session, &Session::loadStateChanged, this, &AppState::loadStateChanged);
    connect(m_session, &Session::projectsChanged, this, &AppState::projectsChanged);
    connect(m_session, &Session::clientsChanged, this, &AppState::clientsChanged);
    connect(m_conversations, &ConversationStore::listChanged, this,
            &AppState::conversationsChanged);
    connect(m_conversations, &ConversationStore::statusChanged, this,
            &AppState::conversationsErrorChanged);
    connect(m_conversations, &ConversationStore::messagesChanged, this, &AppState::messagesChanged);
    connect(m_conversations, &ConversationStore::detailStatusChanged, this,
            &AppState::detailErrorsChanged);
    connect(m_open, &OpenConversation::idChanged, this, &AppState::selectedConversationIDChanged);
    connect(m_open, &OpenConversation::conversationChanged, this,
            &AppState::followOpenConversation);
    connect(m_visitors, &VisitorStore::visitorsChanged, this, &AppState::liveVisitorsChanged);
    connect(m_stats, &StatsCache::changed, this, &AppState::statsChanged);
    connect(m_prefs, &NotificationPrefStore::changed, this, &AppState::notificationPrefsChanged);
    connect(m_snippetStore, &SnippetStore::changed, this, [this](const QString& projectID) {
        if (m_snippetsProjectID == projectID &&
            m_snippets->apply(m_snippetStore->snippets(projectID)))
            emit snippetsChanged();
    });
    connect(m_preferences, &Preferences::appearanceChanged, this, &AppState::appearanceChanged);
    connect(m_preferences, &Preferences::fontSizeChanged, this, &AppState::fontSizeChanged);
    connect(m_preferences, &Preferences::contextPanelVisibleChanged, this,
            &AppState::contextPanelVisibleChanged);
    connect(m_preferences, &Preferences::translationPreferenceChanged, this,
            &AppState::translationPreferenceChanged);
}

bool AppState::signedOutBy(const ApiError& error) {
    if (error.kind != ApiError::Kind::unauthorized)
        return false;
    // The service refused the key: not the operator's choice, so their drafts stay.
    endSession(true);
    return true;
}

void AppState::reportFailure(const char* operation, const ApiError& error, const QString& tell) {
    if (signedOutBy(error))
        return;
    qCWarning(lcAppState).noquote()
        << QStringLiteral("%1 failed: %2")
               .arg(QLatin1StringView(operation), error.errorDescription());
    if (!tell.isEmpty())
        m_notices->post(tell + QStringLiteral(": ") + error.errorDescription());
}

// ---- lifecycle -----------------------------------------------------------------

QCoro::Task<> AppState::bootstrap() {
    QPointer guard(this);
    const Cancellation cancel = m_session->token();
    if (m_deps.notifications)
        m_deps.notifications->bootstrap(*this);
    if (!m_keyRead) {
        m_keyRead = true;
        const auto stored = co_await m_deps.credentials->read();
        if (!guard || cancel.isCancelled())
            co_return;
        if (!m_api->apiKey())
            m_api->setApiKey(stored);
    }
    const auto key = m_api->apiKey();
    if (!key || key->isEmpty()) {
        m_session->setStatus(AuthStatus::signedOut);
        co_return;
    }
    if (!isUsableApiKey(*key)) {
        // A stored key that cannot be sent is treated like one the service refused.
        qCWarning(lcAppState).noquote()
            << "bootstrap: the stored API key holds a control character — deleting it";
        co_await m_deps.credentials->clear();
        if (guard && !cancel.isCancelled())
            endSession(false);
        co_return;
    }
    m_session->setLoadState(LoadState::loading);
    auto me = co_await m_repository->fetchMe(cancel);
    if (!guard || cancel.isCancelled())
        co_return;
    std::optional<ApiError> failure;
    if (me) {
        m_session->setStatus(AuthStatus::signedIn, me.value());
        auto top = co_await refreshTopLevel(cancel);
        if (!guard || cancel.isCancelled())
            co_return;
        if (!top)
            failure = top.error();
    } else {
        failure = me.error();
    }
    if (failure) {
        if (failure->kind == ApiError::Kind::unauthorized) {
            co_await m_deps.credentials->clear();
            if (!guard || cancel.isCancelled())
                co_return;
            // A later bootstrap (the window shown again) meets a session that
            // is running: stream, poll loop and fallback stop with it, and the
            // old account's lists go. On the first one there is nothing to stop.
            endSession(false);
        } else {
            m_session->setLoadState(LoadState::failed, failure->errorDescription());
        }
        co_return;
    }
    m_session->setLoadState(LoadState::loaded);
    co_await startSignedInServices();
}

QCoro::Task<> AppState::startSignedInServices() {
    m_sse->start();
    startPoll();
    scheduleSuppressionFallback();
    co_await loadNotificationPrefs();
}

QCoro::Task<ApiResult<void>> AppState::refreshTopLevel(std::optional<Cancellation> within_) {
    QPointer guard(this);
    // (Arguments named first: g++ 12 mishandles temporaries inside a co_await.)
    const Cancellation cancel = within(within_);
    auto top = co_await m_session->refreshTopLevel(*m_repository, cancel);
    if (!guard || !top)
        co_return top;
    updateDockBadge();
    if (m_selectedProjectID && !project(*m_selectedProjectID))
        setSelectedProjectID(std::nullopt);
    co_return top;
}

void AppState::signOut() {
    emit signingOut();
    endSession(true);
}

void AppState::endSession(bool forgetStoredKey) {
    // The stream first, with where it was: the next account starts from its own beginning.
    m_sse->stop();
    m_sse->forgetResumePoint();
    // The session's token, then its status: every request in flight is aborted,
    // and the screens of the console stop asking (nothing is asked while signed out).
    m_session->end();
    m_realtimeRefreshTask.reset();
    m_pollTask.reset();
    m_suppressionFallbackTask.reset();
    // What the session showed and loaded.
    setSelectedProjectID(std::nullopt);
    setSelectedConversationID(std::nullopt);
    setSelectedVisitorID(std::nullopt);
    m_conversations->clear();
    m_visitors->clear();
    m_stats->clear();
    m_snippetStore->clear();
    showSnippetsOf(std::nullopt);
    m_prefs->clear();
    m_detector->forget();
    m_notices->dismiss();
    // The key last: nothing is asked of the service without it.
    if (forgetStoredKey)
        m_deps.credentials->clear(); // runs on; nothing waits for it
    m_api->setApiKey(std::nullopt);
    m_repository = m_deps.makeRepository(m_api.get());
    updateDockBadge();
    m_notificationsSuppressed = true;
    m_sseCatchUpEverSignalled = false;
}

QCoro::Task<> AppState::navigate(QString projectID, std::optional<QString> conversationID) {
    QPointer guard(this);
    const Cancellation cancel = m_session->token();
    setSelectedProjectID(projectID);
    if (m_selectedSection != AppSection::inbox)
        setSelectedSection(AppSection::inbox);
    co_await loadConversations(projectID);
    // Another navigation (or the operator) moved on meanwhile: its selection stands.
    if (!guard || cancel.isCancelled() || !conversationID || m_selectedProjectID != projectID)
        co_return;
    setSelectedConversationID(conversationID);
    co_await loadConversationDetail(*conversationID);
}

std::optional<Project> AppState::project(const QString& projectID) const {
    return m_session->project(projectID);
}

Visitor AppState::resolvedVisitor(const Conversation& conversation) const {
    const Visitor* anyOfProject = nullptr;
    for (const Visitor& v : liveVisitors()) {
        if (v.projectID != conversation.projectID)
            continue;
        if (v.hasConversation)
            return v;
        if (!anyOfProject)
            anyOfProject = &v;
    }
    if (anyOfProject)
        return *anyOfProject;
    Visitor offline;
    offline.visitorID = QStringLiteral("v_offline_") + conversation.id;
    offline.projectID = conversation.projectID;
    offline.pageURL = QStringLiteral("—");
    offline.pageTitle = QStringLiteral("Offline");
    offline.country = conversation.visitorCountry;
    offline.browser = QStringLiteral("Unknown");
    offline.lastSeen = conversation.lastMessageAt;
    offline.firstSeen = QDateTime::currentDateTimeUtc();
    offline.pagesThisSession = 1;
    return offline;
}

// ---- live visitors, badge, realtime ------------------------------------------------

QCoro::Task<> AppState::loadLiveVisitors(std::optional<QString> projectID,
                                         std::optional<Cancellation> cancel) {
    const std::function<std::optional<QString>()> scope = [this] { return m_selectedProjectID; };
    co_await m_visitors->load(projectID, scope, cancel);
}

void AppState::updateDockBadge() {
    const qint64 unread = unreadTotal();
    if (m_deps.badge)
        m_deps.badge->setCount(unread < 1 ? 0 : unread);
}

void AppState::wireRealtime() {
    // The client posts its callbacks; they arrive here on the main thread,
    // and never after it was stopped.
    m_sse->onStateChange = [this](ConnectionState state) { setConnectionState(state); };
    m_sse->onUnauthorized = [this] { endSession(true); };
    m_sse->onEvent = [this](const RealtimeEvent& event) { handleRealtime(event); };
    m_sse->onCatchUp = [this](bool inCatchUp) {
        m_sseCatchUpEverSignalled = true;
        m_notificationsSuppressed = inCatchUp;
    };
}

void AppState::handleRealtime(const RealtimeEvent& event) {
    qCInfo(lcAppState).noquote() << QStringLiteral("realtime: %1 notify=%2")
                                        .arg(event.type, event.notify ? QStringLiteral("1")
                                                                      : QStringLiteral("0"));
    if (!m_notificationsSuppressed && m_deps.notifications)
        m_deps.notifications->present(event);
    if (event.kind != RealtimeEvent::Kind::unknown)
        scheduleRealtimeRefresh();
}

void AppState::scheduleRealtimeRefresh() {
    // Cancelling the previous debounce also cancels a refresh it has started.
    if (m_realtimeRefreshTask)
        m_realtimeRefreshTask->cancel();
    m_realtimeRefreshTask = m_session->token().child();
    debouncedRefresh(*m_realtimeRefreshTask);
}

QCoro::Task<> AppState::debouncedRefresh(Cancellation cancel) {
    co_await sleepFor(Timing::current().realtimeDebounce, cancel);
    if (cancel.isCancelled())
        co_return; // superseded, signed out, or the state is gone
    co_await realtimeRefresh(cancel);
}

QCoro::Task<> AppState::realtimeRefresh(std::optional<Cancellation> within_) {
    QPointer guard(this);
    const Cancellation cancel = within(within_);
    const auto selection = m_selectedProjectID;
    const std::function<std::optional<QString>()> scope = [this] { return m_selectedProjectID; };
    const auto listed = co_await m_conversations->loadList(selection, scope, false, cancel);
    if (!guard || cancel.isCancelled() || !m_session->signedIn())
        co_return;
    if (listed == ConversationStore::ListOutcome::applied && m_open->id() &&
        !m_conversations->find(*m_open->id()))
        repairConversationSelection();
    co_await loadLiveVisitors(m_selectedProjectID, cancel);
    if (!guard || cancel.isCancelled())
        co_return;
    co_await detectionRefresh(cancel);
    if (!guard || cancel.isCancelled())
        co_return;
    co_await refreshTopLevel(cancel); // its failure is ignored
}

QCoro::Task<> AppState::detectionRefresh(std::optional<Cancellation>) {
    co_await m_detector->look();
}

void AppState::scheduleSuppressionFallback() {
    if (m_suppressionFallbackTask)
        m_suppressionFallbackTask->cancel();
    m_suppressionFallbackTask = m_session->token().child();
    suppressionFallback(*m_suppressionFallbackTask);
}

QCoro::Task<> AppState::suppressionFallback(Cancellation cancel) {
    co_await sleepFor(Timing::current().suppressionFallback, cancel);
    if (cancel.isCancelled() || !m_notificationsSuppressed || m_sseCatchUpEverSignalled)
        co_return;
    qCInfo(lcAppState).noquote()
        << "notificationsSuppressed fallback: SSE never signalled catch-up — going live";
    m_notificationsSuppressed = false;
}

void AppState::startPoll() {
    if (m_pollTask)
        m_pollTask->cancel();
    m_pollTask = m_session->token().child();
    pollLoop(*m_pollTask);
}

void AppState::resume(const QString& reason) {
    if (!m_session->signedIn())
        return;
    qCInfo(lcAppState).noquote()
        << QStringLiteral("resume: %1 — reconnecting and resyncing").arg(reason);
    m_sse->reconnectNow();
    // The resync now, not after a debounce; the next poll a whole period after it.
    if (m_realtimeRefreshTask)
        m_realtimeRefreshTask->cancel();
    m_realtimeRefreshTask = m_session->token().child();
    realtimeRefresh(*m_realtimeRefreshTask);
    startPoll();
}

void AppState::networkLost() {
    if (!m_session->signedIn())
        return;
    qCInfo(lcAppState).noquote() << "network lost — the stream reconnects when it is back";
    m_sse->reconnectNow();
}

QCoro::Task<> AppState::pollLoop(Cancellation cancel) {
    while (!cancel.isCancelled()) {
        co_await sleepFor(Timing::current().pollInterval, cancel);
        if (cancel.isCancelled())
            co_return;
        if (m_session->signedIn())
            co_await realtimeRefresh(cancel);
    }
}

// ---- the selection: notify only on change ------------------------------------------------

void AppState::setConnectionState(ConnectionState state) {
    if (m_connectionState == state)
        return;
    m_connectionState = state;
    emit connectionStateChanged();
}

void AppState::setSelectedProjectID(std::optional<QString> id) {
    if (m_selectedProjectID == id)
        return;
    m_selectedProjectID = std::move(id);
    emit selectedProjectIDChanged();
}

void AppState::setSelectedSection(AppSection section) {
    if (m_selectedSection == section)
        return;
    m_selectedSection = section;
    emit selectedSectionChanged();
}

void AppState::setSelectedConversationID(std::optional<QString> id) {
    m_open->open(std::move(id));
}

void AppState::setSelectedVisitorID(std::optional<QString> id) {
    if (m_selectedVisitorID == id)
        return;
    m_selectedVisitorID = std::move(id);
    emit selectedVisitorIDChanged();
}

void AppState::setSelectedProjectIDText(const QString& id) {
    setSelectedProjectID(id.isEmpty() ? std::nullopt : std::optional(id));
}

void AppState::setSelectedConversationIDText(const QString& id) {
    setSelectedConversationID(id.isEmpty() ? std::nullopt : std::optional(id));
}

void AppState::setSelectedVisitorIDText(const QString& id) {
    setSelectedVisitorID(id.isEmpty() ? std::nullopt : std::optional(id));
}

void AppState::setStatsDays(int days) {
    if (m_statsDays == days)
        return;
    m_statsDays = days;
    emit statsDaysChanged();
}

} // namespace kv
