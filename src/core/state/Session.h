#pragma once

// Who is signed in and with what: the sign-in status and user, the initial
// load's progress, the account's agents and clients, and the token all of the
// session's work runs under.
//
// Ordering rule: one session at a time. Its token is cancelled when it ends,
// which aborts every request still in flight; work that resumes afterwards
// finds it cancelled and assigns nothing. Ending runs in one order: the
// token, then the status (the console's screens stop asking), then what the
// account loaded. Nothing is requested while signed out. Loads of the
// agents and clients: the last one started wins.

#include "Enums.h"
#include "RecordRoles.h"
#include "StoreContext.h"
#include "service/Cancellation.h"

#include <QObject>

namespace kv {

class Session : public QObject {
    Q_OBJECT

public:
    explicit Session(QObject* parent = nullptr);
    ~Session() override;

    AuthStatus status() const { return m_status; }
    bool signedIn() const { return m_status == AuthStatus::signedIn; }
    std::optional<User> user() const { return m_user; }
    void setStatus(AuthStatus status, std::optional<User> user = std::nullopt);

    LoadState loadState() const { return m_loadState; }
    QString loadError() const { return m_loadError; }
    void setLoadState(LoadState state, const QString& error = QString());

    // The session's token; a child of it for work that may end sooner.
    Cancellation token() const { return m_token; }
    // Ends the session's work and everything it loaded (see the ordering rule).
    void end();

    const QList<Project>& projects() const { return m_projects->items(); }
    const QList<Client>& clients() const { return m_clients->items(); }
    ProjectListModel* projectsModel() const { return m_projects; }
    ClientListModel* clientsModel() const { return m_clients; }
    std::optional<Project> project(const QString& projectID) const {
        return m_projects->find(projectID);
    }
    // Unread conversations over all agents.
    qint64 unreadTotal() const;
    // One unread conversation of an agent was read here: its count goes down by one.
    void markOneRead(const QString& projectID);

    // Loads the agents and clients together; either failing assigns nothing.
    QCoro::Task<ApiResult<void>> refreshTopLevel(Repository& repository, Cancellation cancel);

signals:
    void statusChanged();
    void loadStateChanged();
    void projectsChanged();
    void clientsChanged();

private:
    void setProjects(const QList<Project>& list);
    void setClients(const QList<Client>& list);

    AuthStatus m_status = AuthStatus::signedOut;
    std::optional<User> m_user;
    LoadState m_loadState = LoadState::idle;
    QString m_loadError;
    Cancellation m_token;
    LoadSequence m_topLevel;
    ProjectListModel* m_projects;
    ClientListModel* m_clients;
};

} // namespace kv
