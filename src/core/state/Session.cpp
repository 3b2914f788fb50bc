#include "Session.h"

#include <QPointer>

namespace kv {

Session::Session(QObject* parent)
    : QObject(parent), m_projects(newProjectModel(this)), m_clients(newClientModel(this)) {}

Session::~Session() {
    // Pending work resumes later (or at once, from an aborted reply) and must find its token
    // cancelled; every task's token is a child of the session's.
    m_token.cancel();
}

void Session::setStatus(AuthStatus status, std::optional<User> user) {
    if (status != AuthStatus::signedIn)
        user.reset();
    if (m_status == status && m_user == user)
        return;
    m_status = status;
    m_user = std::move(user);
    emit statusChanged();
}

void Session::setLoadState(LoadState state, const QString& error) {
    const QString message = state == LoadState::failed ? error : QString();
    if (m_loadState == state && m_loadError == message)
        return;
    m_loadState = state;
    m_loadError = message;
    emit loadStateChanged();
}

void Session::end() {
    std::exchange(m_token, Cancellation()).cancel();
    m_topLevel.invalidate();
    setStatus(AuthStatus::signedOut);
    setProjects({});
    setClients({});
    setLoadState(LoadState::idle);
}

qint64 Session::unreadTotal() const {
    qint64 unread = 0;
    for (const Project& p : projects())
        unread += p.unreadCount;
    return unread;
}

void Session::markOneRead(const QString& projectID) {
    if (m_projects->update(
            projectID, [](Project& p) { p.unreadCount = std::max<qint64>(0, p.unreadCount - 1); }))
        emit projectsChanged();
}

QCoro::Task<ApiResult<void>> Session::refreshTopLevel(Repository& repository, Cancellation cancel) {
    QPointer guard(this);
    const quint64 ticket = m_topLevel.start();
    // Both fetches run at once; either failing cancels the other and assigns nothing.
    Cancellation both = cancel.child();
    auto projectsTask = repository.fetchProjects(both);
    auto clientsTask = repository.fetchClients(both);
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
    if (!m_topLevel.isLatest(ticket))
        co_return ApiResult<void>(); // a later load's answer stands
    setProjects(projects.value());
    setClients(clients.value());
    co_return ApiResult<void>();
}

void Session::setProjects(const QList<Project>& list) {
    if (m_projects->apply(list))
        emit projectsChanged();
}

void Session::setClients(const QList<Client>& list) {
    if (m_clients->apply(list))
        emit clientsChanged();
}

} // namespace kv
