#include "ChangeDetector.h"

#include "Log.h"
#include "Timing.h"
#include "notifications/NotificationManager.h"
#include "service/Repository.h"
#include "state/Scopes.h"

#include <QPointer>
#include <QUrl>

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

ChangeDetector::ChangeDetector(Context context, QObject* parent)
    : QObject(parent), m_context(std::move(context)) {}

QCoro::Task<> ChangeDetector::look() {
    QPointer guard(this);
    // The request is answered by the next look to begin: the one this call
    // starts, or the one after the look running now.
    const quint64 answeredBy = m_finishedLooks + (m_looking ? 2 : 1);
    if (m_looking) {
        m_again = true;
    } else {
        m_looking = true;
        do {
            m_again = false;
            // (Named first: g++ 12 mishandles temporaries inside a co_await.)
            const Cancellation session = m_context.session();
            co_await lookOnce(session);
            if (!guard)
                co_return;
            ++m_finishedLooks;
            m_lookFinished.releaseAll();
        } while (m_again);
        m_looking = false;
        m_lookFinished.releaseAll(); // waiters whose look will not come stop waiting
    }
    while (guard && m_looking && m_finishedLooks < answeredBy) {
        auto finished = m_lookFinished.wait();
        co_await finished;
    }
}

QCoro::Task<> ChangeDetector::lookOnce(Cancellation cancel) {
    QPointer guard(this);
    const QString all = QString::fromLatin1(kAllScope);
    auto list = co_await m_context.repository().fetchConversations(std::nullopt, std::nullopt,
                                                                   kConversationLimit, cancel);
    // After a sign-out nothing of the old account is recorded, and nothing more is asked.
    if (!guard || cancel.isCancelled())
        co_return;
    if (list) {
        conversationsSeen(list.value(), all);
    } else {
        // A refused key is handled by the refresh around this; here it is only logged.
        qCWarning(lcAppState).noquote()
            << QStringLiteral("detectionRefresh conversations failed: %1")
                   .arg(list.error().errorDescription());
    }
    auto visitors = co_await m_context.repository().fetchLiveVisitors(std::nullopt, cancel);
    if (!guard || cancel.isCancelled())
        co_return;
    if (visitors) {
        visitorsSeen(visitors.value(), all);
    } else {
        qCWarning(lcAppState).noquote() << QStringLiteral("detectionRefresh visitors failed: %1")
                                               .arg(visitors.error().errorDescription());
    }
}

void ChangeDetector::forgetScope(const QString& scope) {
    m_primedVisitors.remove(scope);
    m_primedConversations.remove(scope);
    m_knownVisitorIDs.remove(scope);
    m_snapshot.remove(scope);
}

void ChangeDetector::forget() {
    m_primedVisitors.clear();
    m_knownVisitorIDs.clear();
    m_primedConversations.clear();
    m_snapshot.clear();
}

bool ChangeDetector::remembersAnything() const {
    return !m_primedVisitors.isEmpty() || !m_knownVisitorIDs.isEmpty() ||
           !m_primedConversations.isEmpty() || !m_snapshot.isEmpty();
}

void ChangeDetector::conversationsSeen(const QList<Conversation>& list, const QString& scope) {
    // Whatever the look decides, a visitor someone has answered stops waiting on screen.
    if (m_context.notifications)
        m_context.notifications->withdrawAnswered(list);
    const QHash<QString, ConvSig> previous = m_snapshot.value(scope);
    QHash<QString, ConvSig> current;
    current.reserve(list.size());
    for (const Conversation& c : list)
        current.insert(c.id, signatureOf(c));
    if (!m_primedConversations.contains(scope) || m_context.suppressed()) {
        m_primedConversations.insert(scope);
        m_snapshot.insert(scope, current);
        return;
    }
    NotificationManager* notifications = m_context.notifications;
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
        if (!notifications || !notifications->globallyEnabled(kind))
            continue;
        const auto project = m_context.project(c.projectID);
        const QString title = (project ? project->name : QStringLiteral("Kestovar")) + suffix;
        const QString body = c.visitorName.value_or(QStringLiteral("A visitor")) +
                             QStringLiteral(": ") + c.lastMessagePreview;
        const QString key = RealtimeEvent::kindText(kind) + u':' + c.id;
        if (notifications->suppress(key, Timing::current().conversationThrottle))
            continue;
        notifications->fire(title, body, c.projectID, c.id, kind == RealtimeEvent::Kind::escalated);
    }
    m_snapshot.insert(scope, current);
}

void ChangeDetector::visitorsSeen(const QList<Visitor>& list, const QString& scope) {
    QSet<QString> current;
    current.reserve(list.size());
    for (const Visitor& v : list)
        current.insert(v.visitorID);
    if (!m_primedVisitors.contains(scope) || m_context.suppressed()) {
        m_knownVisitorIDs.insert(scope, current);
        m_primedVisitors.insert(scope);
        return;
    }
    const QSet<QString> arrived = current - m_knownVisitorIDs.value(scope);
    m_knownVisitorIDs.insert(scope, current);
    if (arrived.isEmpty())
        return;

    QList<QString> projects; // first-seen order
    QHash<QString, QList<Visitor>> byProject;
    for (const Visitor& v : list) {
        if (!arrived.contains(v.visitorID))
            continue;
        if (!byProject.contains(v.projectID))
            projects.append(v.projectID);
        byProject[v.projectID].append(v);
    }
    NotificationManager* notifications = m_context.notifications;
    if (!notifications || !notifications->globallyEnabled(RealtimeEvent::Kind::visitorOnline))
        return;
    for (const QString& projectID : projects) {
        const QList<Visitor>& visitors = byProject[projectID];
        const auto project = m_context.project(projectID);
        const QString name = project ? project->name : QStringLiteral("Kestovar");
        QString title, body;
        if (visitors.size() > 1) {
            title = name + QStringLiteral(" — visitors online");
            body = QString::number(visitors.size()) + QStringLiteral(" visitors browsing now");
        } else {
            title = name + QStringLiteral(" — visitor online");
            body = flagEmoji(visitors.first().country) + u' ' + placeOf(visitors.first());
        }
        if (notifications->suppress(QStringLiteral("visitorOnline:") + projectID,
                                    Timing::current().visitorThrottle))
            continue;
        notifications->fire(title, body, projectID, std::nullopt);
    }
}

} // namespace kv
