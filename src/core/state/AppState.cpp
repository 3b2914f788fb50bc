#include "AppState.h"

#include "Log.h"
#include "Timing.h"
#include "notifications/NotificationManager.h"
#include "platform/Badge.h"
#include "platform/CredentialStore.h"
#include "service/ApiKey.h"

#include <QMetaEnum>
#include <QPointer>
#include <QSettings>

namespace kv {

namespace {

template <typename E>
QString enumText(E value) {
    return QString::fromLatin1(QMetaEnum::fromType<E>().valueToKey(int(value)));
}

template <typename E>
E enumFromText(const QVariant& stored, E fallback) {
    if (stored.typeId() != QMetaType::QString)
        return fallback;
    bool ok = false;
    const int value =
        QMetaEnum::fromType<E>().keyToValue(stored.toString().toLatin1().constData(), &ok);
    return ok ? E(value) : fallback;
}

} // namespace

AppState::AppState(Dependencies deps, QObject* parent) : QObject(parent), m_deps(std::move(deps)) {
    m_sse = std::make_unique<SSEClient>(m_deps.network, [this] { return m_api->apiKey(); });
    m_projects = newProjectModel(this);
    m_clients = newClientModel(this);
    m_conversations = newConversationModel(this);
    m_liveVisitors = newVisitorModel(this);
    m_snippets = newSnippetModel(this);
    m_prefs = newNotificationPrefModel(this);
    m_selectedMessages = newMessageModel(this);
    m_appearance =
        enumFromText(m_deps.settings->value(kAppearanceKey), AppearancePreference::system);
    m_fontSize = enumFromText(m_deps.settings->value(kFontSizeKey), FontSizePreference::normal);

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
    connect(m_signInFlow, &SignInFlow::pendingChanged, this, &AppState::authStatusChanged);
    wireRealtime();
}

AppState::~AppState() {
    // Pending work resumes later (or at once, from an aborted reply) and must
    // find its token cancelled; every task's token is a child of the session.
    m_session.cancel();
    m_sse.reset();
}

bool AppState::signedOutBy(const ApiError& error) {
    if (error.kind != ApiError::Kind::unauthorized)
        return false;
    signOut();
    return true;
}

void AppState::reportFailure(const char* operation, const ApiError& error) {
    if (signedOutBy(error))
        return;
    qCWarning(lcAppState).noquote()
        << QStringLiteral("%1 failed: %2")
               .arg(QLatin1StringView(operation), error.errorDescription());
}

// ---- lifecycle -----------------------------------------------------------------

QCoro::Task<> AppState::bootstrap() {
    QPointer guard(this);
    const Cancellation cancel = m_session;
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
        setAuthStatus(AuthStatus::signedOut);
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
    setLoadState(LoadState::loading);
    auto me = co_await m_repository->fetchMe(cancel);
    if (!guard || cancel.isCancelled())
        co_return;
    std::optional<ApiError> failure;
    if (me) {
        setAuthStatus(AuthStatus::signedIn, me.value());
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
            setLoadState(LoadState::failed, failure->errorDescription());
        }
        co_return;
    }
    setLoadState(LoadState::loaded);
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
    const Cancellation cancel = within(within_);
    // Both fetches run at once; either failing cancels the other and assigns nothing.
    Cancellation both = cancel.child();
    auto projectsTask = m_repository->fetchProjects(both);
    auto clientsTask = m_repository->fetchClients(both);
    auto projects = co_await std::move(projectsTask);
    if (!projects)
        both.cancel();
    auto clients = co_await std::move(clientsTask);
    if (!guard || cancel.isCancelled())
        co_return ApiError::transport(QStringLiteral("Operation canceled"));
    if (!projects)
        co_return projects.error();
    if (!clients)
        co_return clients.error();
    setProjects(projects.value());
    setClients(clients.value());
    updateDockBadge();
    if (m_selectedProjectID && !project(*m_selectedProjectID))
        setSelectedProjectID(std::nullopt);
    co_return ApiResult<void>();
}

void AppState::signOut() {
    endSession(true);
}

void AppState::endSession(bool forgetStoredKey) {
    m_sse->stop();
    // The debounce, the poll loop and the fallback are children of the
    // session: cancelling it cancels them and any refresh they started, and
    // aborts every request still in flight.
    std::exchange(m_session, Cancellation()).cancel();
    m_realtimeRefreshTask.reset();
    m_pollTask.reset();
    m_suppressionFallbackTask.reset();
    if (forgetStoredKey)
        m_deps.credentials->clear(); // runs on; nothing waits for it
    m_api->setApiKey(std::nullopt);
    setAuthStatus(AuthStatus::signedOut);
    setProjects({});
    setClients({});
    setConversations({});
    setLiveVisitors({});
    setSelectedProjectID(std::nullopt);
    setSelectedConversationID(std::nullopt);
    setSelectedVisitorID(std::nullopt);
    m_detailErrors.clear();
    emit detailErrorsChanged();
    setLoadState(LoadState::idle);
    m_repository = m_deps.makeRepository(m_api.get());
    updateDockBadge();
    primedVisitorScopes.clear();
    knownVisitorIDs.clear();
    primedConversationScopes.clear();
    convSnapshot.clear();
    m_notificationsSuppressed = true;
    m_sseCatchUpEverSignalled = false;
}

QCoro::Task<> AppState::navigate(QString projectID, std::optional<QString> conversationID) {
    QPointer guard(this);
    const Cancellation cancel = m_session;
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
    for (const Project& p : projects()) {
        if (p.id == projectID)
            return p;
    }
    return std::nullopt;
}

Visitor AppState::resolvedVisitor(const Conversation& conversation) const {
    const Visitor* anyOfAgent = nullptr;
    for (const Visitor& v : liveVisitors()) {
        if (v.projectID != conversation.projectID)
            continue;
        if (v.hasConversation)
            return v;
        if (!anyOfAgent)
            anyOfAgent = &v;
    }
    if (anyOfAgent)
        return *anyOfAgent;
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
                                         std::optional<Cancellation> within_) {
    QPointer guard(this);
    const Cancellation cancel = within(within_);
    const auto selection = m_selectedProjectID;
    auto visitors = co_await m_repository->fetchLiveVisitors(projectID, cancel);
    if (!guard || cancel.isCancelled() || m_selectedProjectID != selection)
        co_return; // signed out, or the operator has left that agent
    if (visitors)
        setLiveVisitors(visitors.value());
    else if (!signedOutBy(visitors.error()))
        setLiveVisitors({});
}

qint64 AppState::unreadTotal() const {
    qint64 unread = 0;
    for (const Project& p : projects())
        unread += p.unreadCount;
    return unread;
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
    m_sse->onUnauthorized = [this] { signOut(); };
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
    m_realtimeRefreshTask = m_session.child();
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
    auto list = co_await m_repository->fetchConversations(selection, std::nullopt,
                                                          kConversationLimit, cancel);
    if (!guard || cancel.isCancelled())
        co_return;
    if (list) {
        // A list of an agent the operator has since left is not shown.
        if (m_selectedProjectID == selection) {
            setConversations(list.value());
            if (m_selectedConversationID && !projectOfListed(*m_selectedConversationID))
                repairConversationSelection();
        }
    } else if (signedOutBy(list.error())) {
        co_return;
    } else {
        qCWarning(lcAppState).noquote()
            << QStringLiteral("realtimeRefresh conversations failed: %1")
                   .arg(list.error().errorDescription());
    }
    co_await loadLiveVisitors(m_selectedProjectID, cancel);
    if (!guard || cancel.isCancelled())
        co_return;
    co_await detectionRefresh(cancel);
    if (!guard || cancel.isCancelled())
        co_return;
    co_await refreshTopLevel(cancel); // its failure is ignored
}

void AppState::scheduleSuppressionFallback() {
    if (m_suppressionFallbackTask)
        m_suppressionFallbackTask->cancel();
    m_suppressionFallbackTask = m_session.child();
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
    m_pollTask = m_session.child();
    pollLoop(*m_pollTask);
}

QCoro::Task<> AppState::pollLoop(Cancellation cancel) {
    while (!cancel.isCancelled()) {
        co_await sleepFor(Timing::current().pollInterval, cancel);
        if (cancel.isCancelled())
            co_return;
        if (m_authStatus == AuthStatus::signedIn)
            co_await realtimeRefresh(cancel);
    }
}

// ---- field setters: notify only on change ------------------------------------------------

void AppState::setLoadState(LoadState state, const QString& error) {
    const QString message = state == LoadState::failed ? error : QString();
    if (m_loadState == state && m_loadError == message)
        return;
    m_loadState = state;
    m_loadError = message;
    emit loadStateChanged();
}

void AppState::setAuthStatus(AuthStatus status, std::optional<User> user) {
    if (status != AuthStatus::signedIn)
        user.reset();
    if (m_authStatus == status && m_user == user)
        return;
    m_authStatus = status;
    m_user = std::move(user);
    emit authStatusChanged();
}

void AppState::setProjects(const QList<Project>& list) {
    if (m_projects->apply(list))
        emit projectsChanged();
}

void AppState::setClients(const QList<Client>& list) {
    if (m_clients->apply(list))
        emit clientsChanged();
}

void AppState::setConversations(const QList<Conversation>& list) {
    if (m_conversations->apply(list))
        emit conversationsChanged();
}

void AppState::setConversationsError(const QString& text) {
    if (m_conversationsError == text)
        return;
    m_conversationsError = text;
    emit conversationsErrorChanged();
}

void AppState::setLiveVisitors(const QList<Visitor>& list) {
    if (m_liveVisitors->apply(list))
        emit liveVisitorsChanged();
}

void AppState::setSnippets(const QList<Snippet>& list) {
    if (m_snippets->apply(list))
        emit snippetsChanged();
}

void AppState::setNotificationPrefs(const QList<NotificationPref>& list) {
    if (m_prefs->apply(list))
        emit notificationPrefsChanged();
}

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
    if (m_selectedConversationID == id)
        return;
    m_selectedConversationID = std::move(id);
    emit selectedConversationIDChanged();
    refreshSelectedMessages();
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

void AppState::setAppearance(AppearancePreference value) {
    // Written on every assignment, also of the same value.
    m_deps.settings->setValue(kAppearanceKey, enumText(value));
    if (m_appearance == value)
        return;
    m_appearance = value;
    emit appearanceChanged();
}

void AppState::setFontSize(FontSizePreference value) {
    m_deps.settings->setValue(kFontSizeKey, enumText(value));
    if (m_fontSize == value)
        return;
    m_fontSize = value;
    emit fontSizeChanged();
}

void AppState::setContextPanelVisible(bool visible) {
    if (m_contextPanelVisible == visible)
        return;
    m_contextPanelVisible = visible;
    emit contextPanelVisibleChanged();
}

} // namespace kv
