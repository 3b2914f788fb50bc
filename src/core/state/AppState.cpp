#include "AppState.h"

#include "Log.h"
#include "Timing.h"
#include "notifications/NotificationManager.h"
#include "platform/Badge.h"
#include "platform/CredentialStore.h"

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
    // Pending timers resume later and must find their tokens cancelled.
    for (auto* task : {&m_realtimeRefreshTask, &m_pollTask, &m_suppressionFallbackTask}) {
        if (*task)
            std::exchange(*task, std::nullopt)->cancel();
    }
    m_sse.reset();
}

bool AppState::signedOutBy(const ApiError& error) {
    if (error.kind != ApiError::Kind::unauthorized)
        return false;
    signOut();
    return true;
}

// ---- lifecycle -----------------------------------------------------------------

QCoro::Task<> AppState::bootstrap() {
    QPointer guard(this);
    if (m_deps.notifications)
        m_deps.notifications->bootstrap(*this);
    if (!m_keyRead) {
        m_keyRead = true;
        const auto stored = co_await m_deps.credentials->read();
        if (!guard)
            co_return;
        if (!m_api->apiKey())
            m_api->setApiKey(stored);
    }
    const auto key = m_api->apiKey();
    if (!key || key->isEmpty()) {
        setAuthStatus(AuthStatus::signedOut);
        co_return;
    }
    setLoadState(LoadState::loading);
    auto me = co_await m_repository->fetchMe();
    if (!guard)
        co_return;
    std::optional<ApiError> failure;
    if (me) {
        setAuthStatus(AuthStatus::signedIn, me.value());
        auto top = co_await refreshTopLevel();
        if (!guard)
            co_return;
        if (!top)
            failure = top.error();
    } else {
        failure = me.error();
    }
    if (failure) {
        if (failure->kind == ApiError::Kind::unauthorized) {
            co_await m_deps.credentials->clear();
            if (!guard)
                co_return;
            m_api->setApiKey(std::nullopt);
            setAuthStatus(AuthStatus::signedOut);
            setLoadState(LoadState::idle);
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

QCoro::Task<ApiResult<void>> AppState::refreshTopLevel() {
    QPointer guard(this);
    // Both fetches run at once; either failing cancels the other and assigns nothing.
    Cancellation both;
    auto projectsTask = m_repository->fetchProjects(both);
    auto clientsTask = m_repository->fetchClients(both);
    auto projects = co_await std::move(projectsTask);
    if (!projects)
        both.cancel();
    auto clients = co_await std::move(clientsTask);
    if (!guard)
        co_return ApiError::of(ApiError::Kind::invalidResponse);
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
    m_sse->stop();
    for (auto* task : {&m_realtimeRefreshTask, &m_pollTask, &m_suppressionFallbackTask}) {
        if (*task)
            std::exchange(*task, std::nullopt)->cancel();
    }
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
    setSelectedProjectID(projectID);
    if (m_selectedSection != AppSection::inbox)
        setSelectedSection(AppSection::inbox);
    co_await loadConversations(projectID);
    if (!guard || !conversationID)
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

QCoro::Task<> AppState::loadLiveVisitors(std::optional<QString> projectID) {
    QPointer guard(this);
    auto visitors = co_await m_repository->fetchLiveVisitors(projectID);
    if (!guard)
        co_return;
    if (visitors)
        setLiveVisitors(visitors.value());
    else if (!signedOutBy(visitors.error()))
        setLiveVisitors({});
}

void AppState::updateDockBadge() {
    qint64 unread = 0;
    for (const Project& p : projects())
        unread += p.unreadCount;
    if (m_deps.badge)
        m_deps.badge->setCount(unread < 1 ? 0 : unread);
}

void AppState::wireRealtime() {
    // The client posts its callbacks; they arrive here on the main thread.
    m_sse->onStateChange = [this](ConnectionState state) { setConnectionState(state); };
    m_sse->onUnauthorized = [this] { signOut(); };
    m_sse->onEvent = [this](const RealtimeEvent& event) { handleRealtime(event); };
    m_sse->onCatchUp = [this](bool inCatchUp) {
        m_sseCatchUpEverSignalled = true;
        m_notificationsSuppressed = inCatchUp;
    };
}

void AppState::handleRealtime(const RealtimeEvent& event) {
    qCInfo(lcAppState).noquote()
        << QStringLiteral("realtime: %1 notify=%2").arg(event.type).arg(event.notify ? 1 : 0);
    if (!m_notificationsSuppressed && m_deps.notifications)
        m_deps.notifications->present(event);
    if (event.kind != RealtimeEvent::Kind::unknown)
        scheduleRealtimeRefresh();
}

void AppState::scheduleRealtimeRefresh() {
    if (m_realtimeRefreshTask)
        m_realtimeRefreshTask->cancel();
    m_realtimeRefreshTask = Cancellation();
    debouncedRefresh(*m_realtimeRefreshTask);
}

QCoro::Task<> AppState::debouncedRefresh(Cancellation cancel) {
    co_await sleepFor(Timing::current().realtimeDebounce, cancel);
    if (cancel.isCancelled())
        co_return; // superseded, signed out, or the state is gone
    co_await realtimeRefresh();
}

QCoro::Task<> AppState::realtimeRefresh() {
    QPointer guard(this);
    auto list = co_await m_repository->fetchConversations(m_selectedProjectID, std::nullopt,
                                                          kConversationLimit);
    if (!guard)
        co_return;
    if (list) {
        setConversations(list.value());
        if (m_selectedConversationID) {
            const bool present = std::any_of(
                conversations().begin(), conversations().end(),
                [&](const Conversation& c) { return c.id == *m_selectedConversationID; });
            if (!present)
                repairConversationSelection();
        }
    } else if (signedOutBy(list.error())) {
        co_return;
    } else {
        qCWarning(lcAppState).noquote()
            << QStringLiteral("realtimeRefresh conversations failed: %1")
                   .arg(list.error().errorDescription());
    }
    co_await loadLiveVisitors(m_selectedProjectID);
    if (!guard)
        co_return;
    co_await detectionRefresh();
    if (!guard)
        co_return;
    co_await refreshTopLevel(); // its failure is ignored
}

void AppState::scheduleSuppressionFallback() {
    if (m_suppressionFallbackTask)
        m_suppressionFallbackTask->cancel();
    m_suppressionFallbackTask = Cancellation();
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
    m_pollTask = Cancellation();
    pollLoop(*m_pollTask);
}

QCoro::Task<> AppState::pollLoop(Cancellation cancel) {
    while (!cancel.isCancelled()) {
        co_await sleepFor(Timing::current().pollInterval, cancel);
        if (cancel.isCancelled())
            co_return;
        if (m_authStatus == AuthStatus::signedIn)
            co_await realtimeRefresh();
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
