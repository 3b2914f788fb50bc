// Change detection over all agents: what the polling path notifies about,
// sharing the throttle with the realtime path. Also the visitor groups of the
// visitors screen and the flag shown for a country.

#include "AppState.h"

#include "Log.h"
#include "Timing.h"
#include "notifications/NotificationManager.h"

#include <QPointer>

namespace kv {

namespace {

ConvSig signatureOf(const Conversation& c) {
    const bool needsOperator = c.status == ConversationStatus::waiting ||
                               c.status == ConversationStatus::operatorActive ||
                               c.aiEscalationReason.has_value();
    return ConvSig{needsOperator, c.messageCount, c.hasUnread};
}

QString placeOf(const Visitor& v) {
    if (v.pageTitle)
        return *v.pageTitle;
    const QUrl url(v.pageURL);
    if (url.isValid() && !url.host().isEmpty())
        return url.host();
    return v.pageURL;
}

} // namespace

QCoro::Task<> AppState::detectionRefresh(std::optional<Cancellation> within_) {
    QPointer guard(this);
    const Cancellation cancel = within(within_);
    auto list = co_await m_repository->fetchConversations(std::nullopt, std::nullopt,
                                                          kConversationLimit, cancel);
    // After a sign-out nothing of the old account is recorded as seen.
    if (!guard || cancel.isCancelled())
        co_return;
    const QString all = QString::fromLatin1(kAllScope);
    if (list) {
        detectConversationChanges(list.value(), all);
    } else {
        // A refused key is handled by the refresh around this; here it is only logged.
        qCWarning(lcAppState).noquote()
            << QStringLiteral("detectionRefresh conversations failed: %1")
                   .arg(list.error().errorDescription());
    }
    auto visitors = co_await m_repository->fetchLiveVisitors(std::nullopt, cancel);
    if (!guard || cancel.isCancelled())
        co_return;
    if (visitors) {
        detectVisitorChanges(visitors.value(), all);
    } else {
        qCWarning(lcAppState).noquote() << QStringLiteral("detectionRefresh visitors failed: %1")
                                               .arg(visitors.error().errorDescription());
    }
}

void AppState::detectConversationChanges(const QList<Conversation>& list, const QString& scope) {
    const QHash<QString, ConvSig> previous = convSnapshot.value(scope);
    QHash<QString, ConvSig> current;
    current.reserve(list.size());
    for (const Conversation& c : list)
        current.insert(c.id, signatureOf(c));
    if (!primedConversationScopes.contains(scope) || m_notificationsSuppressed) {
        primedConversationScopes.insert(scope);
        convSnapshot.insert(scope, current);
        return;
    }
    NotificationManager* notifications = m_deps.notifications;
    for (const Conversation& c : list) {
        const ConvSig sig = current.value(c.id);
        if (!sig.needsOperator)
            continue; // the AI is handling it
        const auto prev = previous.constFind(c.id);
        RealtimeEvent::Kind kind;
        QString suffix;
        if (prev == previous.constEnd() || !prev->needsOperator) {
            kind = RealtimeEvent::Kind::escalated;
            suffix = QStringLiteral(" — wants a human");
        } else if (prev->messageCount < sig.messageCount && sig.hasUnread) {
            kind = RealtimeEvent::Kind::messageReceived;
            suffix = QStringLiteral(" — waiting for you");
        } else {
            continue;
        }
        const auto agent = project(c.projectID);
        const QString title = (agent ? agent->name : QStringLiteral("Kestovar")) + suffix;
        const QString body = c.visitorName.value_or(QStringLiteral("A visitor")) +
                             QStringLiteral(": ") + c.lastMessagePreview;
        if (!notifications || !notifications->globallyEnabled(kind))
            continue;
        const QString key = RealtimeEvent::kindText(kind) + u':' + c.id;
        if (notifications->suppress(key, Timing::current().conversationThrottle))
            continue;
        notifications->fire(title, body, c.projectID, c.id);
    }
    convSnapshot.insert(scope, current);
}

void AppState::detectVisitorChanges(const QList<Visitor>& list, const QString& scope) {
    QSet<QString> current;
    current.reserve(list.size());
    for (const Visitor& v : list)
        current.insert(v.visitorID);
    if (!primedVisitorScopes.contains(scope) || m_notificationsSuppressed) {
        knownVisitorIDs.insert(scope, current);
        primedVisitorScopes.insert(scope);
        return;
    }
    const QSet<QString> arrived = current - knownVisitorIDs.value(scope);
    knownVisitorIDs.insert(scope, current);
    if (arrived.isEmpty())
        return;

    QList<QString> agents; // first-seen order
    QHash<QString, QList<Visitor>> byAgent;
    for (const Visitor& v : list) {
        if (!arrived.contains(v.visitorID))
            continue;
        if (!byAgent.contains(v.projectID))
            agents.append(v.projectID);
        byAgent[v.projectID].append(v);
    }
    NotificationManager* notifications = m_deps.notifications;
    for (const QString& agentID : agents) {
        const QList<Visitor>& visitors = byAgent[agentID];
        const auto agent = project(agentID);
        const QString name = agent ? agent->name : QStringLiteral("Kestovar");
        QString title, body;
        if (visitors.size() > 1) {
            title = name + QStringLiteral(" — visitors online");
            body = QString::number(visitors.size()) + QStringLiteral(" visitors browsing now");
        } else {
            title = name + QStringLiteral(" — visitor online");
            body = flagEmoji(visitors.first().country) + u' ' + placeOf(visitors.first());
        }
        if (!notifications || !notifications->globallyEnabled(RealtimeEvent::Kind::visitorOnline))
            continue;
        if (notifications->suppress(QStringLiteral("visitorOnline:") + agentID,
                                    Timing::current().visitorThrottle))
            continue;
        notifications->fire(title, body, agentID, std::nullopt);
    }
}

QList<AppState::VisitorGroup> AppState::visibleVisitorGroups() const {
    QHash<QString, QList<Visitor>> byAgent;
    for (const Visitor& v : liveVisitors())
        byAgent[v.projectID].append(v);
    auto newestFirst = [](QList<Visitor> visitors) {
        std::stable_sort(visitors.begin(), visitors.end(), [](const Visitor& a, const Visitor& b) {
            return a.lastSeen > b.lastSeen;
        });
        return visitors;
    };
    QList<VisitorGroup> groups;
    for (const Project& p : projects()) {
        const auto found = byAgent.constFind(p.id);
        if (found == byAgent.constEnd())
            continue;
        groups.append(VisitorGroup{p.id, p, newestFirst(*found)});
        byAgent.remove(p.id);
    }
    QList<Visitor> unknown;
    for (const Visitor& v : liveVisitors()) {
        if (byAgent.contains(v.projectID))
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

QString AppState::flagEmoji(const std::optional<QString>& countryCode) {
    QString globe = QStringLiteral("\U0001F310");
    if (!countryCode || countryCode->size() != 2)
        return globe;
    QString flag;
    for (const char32_t c : countryCode->toUpper().toUcs4()) {
        const char32_t symbol = c + 127397;
        // Only scalars the regional-indicator shift maps into valid code points.
        if (symbol > 0x10FFFF || (symbol >= 0xD800 && symbol <= 0xDFFF))
            continue;
        flag += QString::fromUcs4(&symbol, 1);
    }
    return flag.isEmpty() ? globe : flag;
}

} // namespace kv
