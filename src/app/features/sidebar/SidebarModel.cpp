#include "SidebarModel.h"

#include "AppStateForeign.h"
#include "PeopleText.h"
#include "state/AppState.h"

#include <algorithm>
#include <limits>

namespace kv {

namespace {

QList<FieldRole<sidebar::Row>> rowRoles() {
    using R = sidebar::Row;
    return {
        {"kind", [](const R& r) { return QVariant(int(r.kind)); }},
        {"title", [](const R& r) { return QVariant(r.title); }},
        {"emoji", [](const R& r) { return QVariant(r.emoji); }},
        {"logoURL", [](const R& r) { return r.logoURL ? QVariant(*r.logoURL) : QVariant(); }},
        {"colorHex", [](const R& r) { return r.colorHex ? QVariant(*r.colorHex) : QVariant(); }},
        {"hasProjectIdentity", [](const R& r) { return QVariant(r.hasProjectIdentity); }},
        {"unreadCount", [](const R& r) { return QVariant(r.unreadCount); }},
        {"liveCount", [](const R& r) { return QVariant(r.liveCount); }},
        {"isSelected", [](const R& r) { return QVariant(r.isSelected); }},
        {"indented", [](const R& r) { return QVariant(r.indented); }},
        {"projectID", [](const R& r) { return QVariant(r.projectID); }},
        {"clientID", [](const R& r) { return QVariant(r.clientID); }},
        {"expanded", [](const R& r) { return QVariant(r.expanded); }},
        {"count", [](const R& r) { return QVariant(r.count); }},
    };
}

} // namespace

SidebarModel::SidebarModel(QObject* parent) : SidebarModel(AppStateForeign::instance(), parent) {}

SidebarModel::SidebarModel(AppState* state, QObject* parent)
    : QObject(parent), m_state(state),
      m_rows(new RecordListModel<sidebar::Row>([](const sidebar::Row& r) { return r.key; },
                                               rowRoles(), this)) {
    static_assert(int(sidebar::Row::Kind::project) == ProjectEntry);
    for (auto signal : {&AppState::projectsChanged, &AppState::clientsChanged,
                        &AppState::selectedProjectIDChanged, &AppState::authStatusChanged})
        connect(m_state, signal, this, &SidebarModel::rebuild);
    connect(m_state, &AppState::projectsChanged, this, &SidebarModel::badgesChanged);
    connect(m_state, &AppState::selectedProjectIDChanged, this, &SidebarModel::badgesChanged);
    connect(m_state, &AppState::liveVisitorsChanged, this, &SidebarModel::badgesChanged);
    connect(m_state, &AppState::authStatusChanged, this, &SidebarModel::userChanged);
    rebuild();
}

void SidebarModel::setSearch(const QString& search) {
    if (m_search == search)
        return;
    m_search = search;
    emit searchChanged();
    rebuild();
}

void SidebarModel::toggleClient(const QString& clientID) {
    if (!m_expandedClients.remove(clientID))
        m_expandedClients.insert(clientID);
    rebuild();
}

void SidebarModel::selectProject(const QString& projectID) {
    m_state->setSelectedProjectID(projectID.isEmpty() ? std::nullopt
                                                      : std::optional<QString>(projectID));
}

void SidebarModel::rebuild() {
    sidebar::Input in;
    in.projects = m_state->projects();
    in.clients = m_state->clients();
    in.agencyUser = m_state->user() && m_state->user()->isAgency;
    in.selectedProjectID = m_state->selectedProjectID();
    in.search = m_search;
    in.expandedClients = m_expandedClients;
    m_rows->apply(sidebar::rows(in));
}

namespace {

int badgeCount(qint64 count) {
    return int(std::clamp<qint64>(count, 0, std::numeric_limits<int>::max()));
}

} // namespace

int SidebarModel::totalUnread() const {
    return badgeCount(sidebar::totalUnread(m_state->projects()));
}

int SidebarModel::inboxBadge() const {
    return badgeCount(sidebar::inboxBadge(m_state->projects(), m_state->selectedProjectID()));
}

int SidebarModel::liveVisitorsBadge() const {
    return badgeCount(m_state->liveVisitors().size());
}

QString SidebarModel::userInitials() const {
    const auto user = m_state->user();
    return user ? people::initials(user->name) : QStringLiteral("?");
}

QString SidebarModel::userName() const {
    const auto user = m_state->user();
    return user ? user->name : QStringLiteral("Not signed in");
}

} // namespace kv
