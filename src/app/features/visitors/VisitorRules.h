#pragma once

// How a visitor is described: the lines of the context and detail panels,
// the live visitors screen's rows, groups and subtitle, and which groups are open.

#include "EmptyState.h"
#include "records/Records.h"

#include <QSet>
#include <QString>
#include <QStringList>

#include <optional>

namespace kv::visitors {

// The lines that describe a visitor in the context and detail panels.
enum class Panel { context, detail };

// "City, Country", else the country, else "Unknown" ("Unknown location" in the detail panel).
QString location(const Visitor& v, Panel panel);
// "Browser · OS", else the browser, else "Unknown browser".
QString browser(const Visitor& v);
// "45s on site", "1m 1s on site", "1m on site", "1h 2m on site".
QString timeOnSite(qint64 seconds);
// The live visitors list's shorter form: "45s", "3m" (seconds past a minute dropped), "1h 2m".
QString timeOnSiteShort(qint64 seconds);
QString pagesThisSession(const Visitor& v);
// 1st, 2nd, 3rd, 4th, 11th, 12th, 13th, 21st, 101st, 111th.
QString ordinal(qint64 n);
// "First-time visitor", or "Returning · 3rd visit".
QString returning(const Visitor& v);
// The symbol beside it.
QString returningSymbol(const Visitor& v);
// "From <referrer>", or empty when no line is shown. The context panel shows an
// empty referrer; the detail panel leaves it out.
QString referrerLine(const Visitor& v, Panel panel);

// Knowledge-chunk score bands: green from 0.8, orange from 0.6, red below.
enum class ScoreBand { good, fair, weak };
ScoreBand scoreBand(double score);
QString scoreText(double score);

// The live visitors screen.

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
