#pragma once

// The sidebar's agent list: the search, the flat or client-grouped shape,
// and the badges beside the sections.

#include "records/Records.h"

#include <QSet>
#include <QString>

#include <optional>

namespace kv::sidebar {

// One line of the agent list.
struct Row {
    enum class Kind { allProjects, groupHeader, clientHeader, project };
    Kind kind = Kind::project;
    QString key; // stable across refreshes: the kind and the identifier
    QString title;
    QString emoji;
    std::optional<QUrl> logoURL;
    std::optional<QString> colorHex;
    bool hasProjectIdentity = false;
    qint64 unreadCount = 0;
    qint64 liveCount = 0;
    bool isSelected = false;
    bool indented = false;
    QString projectID;
    QString clientID;
    bool expanded = false; // client headers
    qint64 count = 0;      // headers: how many agents they hold
    bool operator==(const Row&) const = default;
};

struct Input {
    QList<Project> projects;
    QList<Client> clients;
    bool agencyUser = false;
    std::optional<QString> selectedProjectID;
    QString search;
    QSet<QString> expandedClients;
};

// The agents whose name contains the search text (any case); all when it is empty.
QList<Project> filteredProjects(const QList<Project>& projects, const QString& search);
// "All AI Agents", then the agents: flat, or grouped by client for agency users.
QList<Row> rows(const Input& input);

qint64 totalUnread(const QList<Project>& projects);
// The selected agent's unread count, or the total when none (or an unknown one) is selected.
qint64 inboxBadge(const QList<Project>& projects, const std::optional<QString>& selected);

} // namespace kv::sidebar
