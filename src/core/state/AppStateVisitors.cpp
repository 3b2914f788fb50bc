// The visitors screen's groups: one per agent with visitors, the agents'
// order, then the visitors of agents not listed; the largest group first.

#include "AppState.h"

namespace kv {

QList<AppState::VisitorGroup> AppState::visibleVisitorGroups() const {
    QHash<QString, QList<Visitor>> byProject;
    for (const Visitor& v : liveVisitors())
        byProject[v.projectID].append(v);
    auto newestFirst = [](QList<Visitor> visitors) {
        std::stable_sort(visitors.begin(), visitors.end(), [](const Visitor& a, const Visitor& b) {
            return a.lastSeen > b.lastSeen;
        });
        return visitors;
    };
    QList<VisitorGroup> groups;
    for (const Project& p : projects()) {
        const auto found = byProject.constFind(p.id);
        if (found == byProject.constEnd())
            continue;
        groups.append(VisitorGroup{p.id, p, newestFirst(*found)});
        byProject.remove(p.id);
    }
    QList<Visitor> unknown;
    for (const Visitor& v : liveVisitors()) {
        if (byProject.contains(v.projectID))
            unknown.append(v);
    }
    if (!unknown.isEmpty())
        groups.append(VisitorGroup{QString(), std::nullopt, newestFirst(unknown)});
    std::stable_sort(groups.begin(), groups.end(),
                     [](const VisitorGroup& a, const VisitorGroup& b) {
                         return a.visitors.size() > b.visitors.size();
                     });
    return groups;
}

} // namespace kv
