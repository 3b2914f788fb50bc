#include "VisitorLabels.h"

#include "NumberText.h"

namespace kv::visitor {

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

} // namespace kv::visitor
