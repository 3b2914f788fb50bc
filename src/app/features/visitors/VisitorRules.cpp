#include "VisitorRules.h"

#include "LinkPolicy.h"
#include "NumberText.h"

#include <QUrl>

namespace kv::visitors {

QString location(const Visitor& v, Panel panel) {
    if (v.city && v.country)
        return *v.city + QStringLiteral(", ") + *v.country;
    if (v.country)
        return *v.country;
    return panel == Panel::context ? QStringLiteral("Unknown") : QStringLiteral("Unknown location");
}

QString browser(const Visitor& v) {
    if (v.browser && v.os)
        return *v.browser + QStringLiteral(" · ") + *v.os;
    if (v.browser)
        return *v.browser;
    return QStringLiteral("Unknown browser");
}

QString timeOnSiteShort(qint64 t) {
    if (t <= 59)
        return QString::number(t) + u's';
    if (t <= 3599)
        return QString::number(t / 60) + u'm';
    return QStringLiteral("%1h %2m").arg(QString::number(t / 3600), QString::number((t / 60) % 60));
}

QString timeOnSite(qint64 t) {
    if (t >= 60 && t <= 3599 && t % 60 != 0)
        return QStringLiteral("%1m %2s on site")
            .arg(QString::number(t / 60), QString::number(t % 60));
    return timeOnSiteShort(t) + QStringLiteral(" on site");
}

QString pagesThisSession(const Visitor& v) {
    return QString::number(v.pagesThisSession) + QStringLiteral(" pages this session");
}

QString ordinal(qint64 n) {
    const qint64 lastTwo = n % 100;
    const char* suffix = "th";
    if (lastTwo < 11 || lastTwo > 13) {
        switch (n % 10) {
        case 1:
            suffix = "st";
            break;
        case 2:
            suffix = "nd";
            break;
        case 3:
            suffix = "rd";
            break;
        default:
            break;
        }
    }
    return QString::number(n) + QLatin1StringView(suffix);
}

QString returning(const Visitor& v) {
    if (!v.isReturning)
        return QStringLiteral("First-time visitor");
    return QStringLiteral("Returning · ") + ordinal(v.previousConversations + 1) +
           QStringLiteral(" visit");
}

QString returningSymbol(const Visitor& v) {
    return v.isReturning ? QStringLiteral("person.2.fill")
                         : QStringLiteral("person.fill.badge.plus");
}

QString referrerLine(const Visitor& v, Panel panel) {
    if (!v.referrer || (panel == Panel::detail && v.referrer->isEmpty()))
        return QString();
    return QStringLiteral("From ") + *v.referrer;
}

ScoreBand scoreBand(double score) {
    if (score >= 0.8)
        return ScoreBand::good;
    if (score >= 0.6)
        return ScoreBand::fair;
    return ScoreBand::weak;
}

QString scoreText(double score) {
    return numbers::fixed(score, 2);
}

QString subtitle(const QList<Visitor>& visitors) {
    if (visitors.isEmpty())
        return QStringLiteral("Updates every 5 seconds");
    const auto chatting = std::count_if(visitors.begin(), visitors.end(),
                                        [](const Visitor& v) { return v.hasConversation; });
    if (chatting == 0)
        return QString::number(visitors.size()) + QStringLiteral(" browsing now");
    return QStringLiteral("%1 browsing · %2 chatting")
        .arg(QString::number(visitors.size()), QString::number(chatting));
}

std::optional<EmptyState> emptyState(const QList<Visitor>& visitors, const QString& loadError) {
    if (!visitors.isEmpty())
        return std::nullopt;
    if (!loadError.isEmpty())
        return EmptyState{QStringLiteral("exclamationmark.triangle.fill"),
                          QStringLiteral("Couldn’t load visitors"), loadError};
    return EmptyState{QStringLiteral("person.2.slash"),
                      QStringLiteral("No one's browsing right now"),
                      QStringLiteral("Visitors show up here the moment they land on a page where "
                                     "your widget is installed.")};
}

QString rowTitle(const Visitor& v) {
    return v.pageTitle.value_or(QStringLiteral("Browsing"));
}

QString journeyLine(const Visitor& v) {
    QStringList parts;
    if (v.city && !v.city->isEmpty())
        parts.append(*v.city);
    parts.append(v.isReturning ? QStringLiteral("Returning (%1)").arg(v.previousConversations + 1)
                               : QStringLiteral("First-time"));
    parts.append(timeOnSiteShort(v.timeOnSiteSeconds));
    parts.append(QString::number(v.pagesThisSession) +
                 (v.pagesThisSession == 1 ? QStringLiteral(" page") : QStringLiteral(" pages")));
    return parts.join(QStringLiteral(" · "));
}

QString hostText(const std::optional<Project>& project) {
    if (!project || project->websiteURL.isEmpty())
        return QString();
    const QUrl url(project->websiteURL, QUrl::StrictMode);
    if (url.isValid() && !url.host().isEmpty())
        return url.host();
    return links::withoutScheme(project->websiteURL);
}

QString groupName(const std::optional<Project>& project) {
    return project ? project->name : QStringLiteral("Other");
}

QString groupHeaderName(const std::optional<Project>& project, qsizetype count, bool expanded) {
    QStringList parts{groupName(project)};
    if (const QString host = hostText(project); !host.isEmpty())
        parts.append(host);
    parts.append(count == 1 ? QStringLiteral("1 visitor")
                            : QStringLiteral("%1 visitors").arg(count));
    parts.append(expanded ? QStringLiteral("expanded") : QStringLiteral("collapsed"));
    return parts.join(QStringLiteral(", "));
}

bool GroupExpansion::allExpanded(const QStringList& ids) const {
    if (ids.isEmpty())
        return false;
    return std::all_of(ids.begin(), ids.end(),
                       [this](const QString& id) { return m_expanded.contains(id); });
}

void GroupExpansion::toggle(const QString& id) {
    if (!m_expanded.remove(id))
        m_expanded.insert(id);
}

void GroupExpansion::toggleAll(const QStringList& ids) {
    if (allExpanded(ids))
        m_expanded.clear();
    else
        m_expanded = QSet<QString>(ids.begin(), ids.end());
}

ToggleAllButton toggleAllButton(bool allExpanded) {
    if (allExpanded)
        return {QStringLiteral("Collapse all"), QStringLiteral("chevron.up"),
                QStringLiteral("Collapse every agent")};
    return {QStringLiteral("Expand all"), QStringLiteral("chevron.down"),
            QStringLiteral("Show visitors for every agent")};
}

} // namespace kv::visitors
