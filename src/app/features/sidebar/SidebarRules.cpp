#include "SidebarRules.h"

#include <QHash>

namespace kv::sidebar {

namespace {

Row projectRow(const Project& p, const std::optional<QString>& selected, bool indented) {
    Row row;
    row.kind = Row::Kind::project;
    row.key = QStringLiteral("agent:") + p.id;
    row.title = p.name;
    row.emoji = p.emoji;
    row.logoURL = p.logoURL;
    row.colorHex = p.widgetColor;
    row.hasProjectIdentity = true;
    row.unreadCount = p.unreadCount;
    row.liveCount = p.liveVisitorCount;
    row.isSelected = selected == p.id;
    row.indented = indented;
    row.projectID = p.id;
    return row;
}

} // namespace

QList<Project> filteredProjects(const QList<Project>& projects, const QString& search) {
    if (search.isEmpty())
        return projects;
    QList<Project> out;
    for (const Project& p : projects) {
        if (p.name.contains(search, Qt::CaseInsensitive))
            out.append(p);
    }
    return out;
}

qint64 totalUnread(const QList<Project>& projects) {
    qint64 total = 0;
    for (const Project& p : projects)
        total += p.unreadCount;
    return total;
}

qint64 inboxBadge(const QList<Project>& projects, const std::optional<QString>& selected) {
    if (selected) {
        for (const Project& p : projects) {
            if (p.id == *selected)
                return p.unreadCount;
        }
    }
    return totalUnread(projects);
}

QList<Row> rows(const Input& in) {
    Row all;
    all.kind = Row::Kind::allProjects;
    all.key = QStringLiteral("all");
    all.title = QStringLiteral("All AI Agents");
    all.emoji = QStringLiteral("🪄");
    all.unreadCount = totalUnread(in.projects);
    for (const Project& p : in.projects)
        all.liveCount += p.liveVisitorCount;
    all.isSelected = !in.selectedProjectID;
    QList<Row> out{all};

    const QList<Project> shown = filteredProjects(in.projects, in.search);
    if (!in.agencyUser) {
        for (const Project& p : shown)
            out.append(projectRow(p, in.selectedProjectID, false));
        return out;
    }

    QList<Project> ungrouped;
    QHash<QString, QList<Project>> byClient;
    for (const Project& p : shown) {
        if (p.clientID)
            byClient[*p.clientID].append(p);
        else
            ungrouped.append(p);
    }
    if (!ungrouped.isEmpty()) {
        Row header;
        header.kind = Row::Kind::groupHeader;
        header.key = QStringLiteral("group:internal");
        header.title = QStringLiteral("Internal").toUpper();
        header.count = ungrouped.size();
        out.append(header);
        for (const Project& p : ungrouped)
            out.append(projectRow(p, in.selectedProjectID, false));
    }
    for (const Client& c : in.clients) {
        const auto group = byClient.constFind(c.id);
        if (group == byClient.constEnd() || group->isEmpty())
            continue;
        Row header;
        header.kind = Row::Kind::clientHeader;
        header.key = QStringLiteral("client:") + c.id;
        header.title = c.emoji.value_or(QStringLiteral("📁")) + u' ' + c.name;
        header.clientID = c.id;
        header.expanded = in.expandedClients.contains(c.id);
        header.count = group->size();
        out.append(header);
        if (header.expanded) {
            for (const Project& p : *group)
                out.append(projectRow(p, in.selectedProjectID, true));
        }
    }
    return out;
}

} // namespace kv::sidebar
