#pragma once

// The live visitors screen's text rules and its expanded-groups state.

#include "EmptyState.h"
#include "records/Records.h"

#include <QSet>
#include <QString>
#include <QStringList>

#include <optional>

namespace kv::visitors {

// "Updates every 5 seconds", "4 browsing now", "4 browsing · 1 chatting".
QString subtitle(const QList<Visitor>& visitors);
// What stands in place of an empty list: no one browsing, or why the list
// could not be loaded; none while visitors show.
std::optional<EmptyState> emptyState(const QList<Visitor>& visitors,
                                     const QString& loadError = QString());
// A row's first line: the page title, or "Browsing".
QString rowTitle(const Visitor& v);
// "Lyon · Returning (3) · 4m · 2 pages": city, returning, time on site, pages.
QString journeyLine(const Visitor& v);
// The host under an agent's name in a group header; empty when there is none.
QString hostText(const std::optional<Project>& project);
// A group's name: the agent's, or "Other" for visitors of agents not listed.
QString groupName(const std::optional<Project>& project);
// A group header as a screen reader reads it: "Northwind Support, northwind.example,
// 1 visitor, collapsed".
QString groupHeaderName(const std::optional<Project>& project, qsizetype count, bool expanded);

// Which agents' blocks are open. Identifiers of groups that went away stay,
// so a group that comes back opens as it was.
class GroupExpansion {
public:
    bool isExpanded(const QString& id) const { return m_expanded.contains(id); }
    // True when there are groups and every one of them is open.
    bool allExpanded(const QStringList& ids) const;
    void toggle(const QString& id);
    // Closes every group when all are open; otherwise opens all of `ids`.
    void toggleAll(const QStringList& ids);

private:
    QSet<QString> m_expanded;
};

// The expand/collapse-all button as it reads now.
struct ToggleAllButton {
    QString label;
    QString symbol;
    QString tooltip;
};
ToggleAllButton toggleAllButton(bool allExpanded);

} // namespace kv::visitors
