#include "NotificationManager.h"

#include "Log.h"
#include "Timing.h"
#include "state/AppState.h"

#include <QMetaEnum>
#include <QSettings>

namespace kv {

NotificationManager::NotificationManager(Notifier* notifier, QSettings* settings, QObject* parent)
    : QObject(parent), m_notifier(notifier), m_settings(settings) {
    connect(&m_repeat, &QTimer::timeout, this, &NotificationManager::repeatSound);
    connect(m_notifier, &Notifier::activated, this,
            [this](const QString& projectID, const std::optional<QString>& conversationID) {
                onActivated(projectID, conversationID);
            });
    connect(m_notifier, &Notifier::replied, this,
            [this](const QString& projectID, const std::optional<QString>& conversationID,
                   const QString& text) { onReplied(projectID, conversationID, text); });
    connect(m_notifier, &Notifier::replyWindowRequested, this,
            &NotificationManager::quickReplyRequested);
}

void NotificationManager::bootstrap(AppState& appState) {
    m_appState = &appState;
    // What the operator sees listed counts too: a reply or a take-over here.
    connect(&appState, &AppState::conversationsChanged, this,
            &NotificationManager::withdrawAnsweredListed, Qt::UniqueConnection);
    [](QPointer<NotificationManager> self) -> QCoro::Task<> {
        const NotificationPermission answer = co_await self->m_notifier->requestAuthorization();
        if (!self)
            co_return;
        qCInfo(lcNotifications).noquote()
            << QStringLiteral("notification auth granted=%1")
                   .arg(answer == NotificationPermission::authorized ? 1 : 0);
        co_await self->refreshAuthorizationStatus();
    }(this);
}

QCoro::Task<> NotificationManager::refreshAuthorizationStatus() {
    QPointer self(this);
    const NotificationPermission status = co_await m_notifier->currentAuthorization();
    if (!self)
        co_return;
    qCInfo(lcNotifications).noquote()
        << QStringLiteral("notification authorizationStatus=%1").arg(int(status));
    if (m_permission != status) {
        m_permission = status;
        emit permissionChanged();
    }
}

bool NotificationManager::switchOn(const QSettings* settings, const char* key) {
    const QVariant value = settings->value(QLatin1StringView(key));
    return value.typeId() != QMetaType::Bool || value.toBool();
}

QCoro::Task<NotificationManager::TestOutcome> NotificationManager::sendTest() {
    QPointer self(this);
    co_await refreshAuthorizationStatus();
    if (!self)
        co_return TestOutcome{QStringLiteral("closed"), false};
    NotificationRequest request;
    request.title = QStringLiteral("Kestovar");
    request.body =
        QStringLiteral("Notifications are working. Visitors who need you will show up like this.");
    request.sound = playSound();
    const auto error = co_await m_notifier->post(std::move(request));
    if (!self)
        co_return TestOutcome{error, false};
    co_return TestOutcome{error, m_notifier->offersInlineReply()};
}

bool NotificationManager::playSound() const {
    return switchOn(m_settings, kPlaySoundKey);
}

bool NotificationManager::repeatsSound() const {
    return switchSet(m_settings, kRepeatEscalationSoundKey);
}

bool NotificationManager::switchSet(const QSettings* settings, const char* key) {
    const QVariant value = settings->value(QLatin1StringView(key));
    return value.typeId() == QMetaType::Bool && value.toBool();
}

bool NotificationManager::globallyEnabled(RealtimeEvent::Kind kind) const {
    switch (kind) {
    case RealtimeEvent::Kind::escalated:
        return switchOn(m_settings, kEscalationKey);
    case RealtimeEvent::Kind::messageReceived:
        return switchOn(m_settings, kNewMessageKey);
    case RealtimeEvent::Kind::visitorOnline:
        return switchOn(m_settings, kVisitorOnlineKey);
    case RealtimeEvent::Kind::unknown:
        break;
    }
    return false;
}

bool NotificationManager::suppress(const QString& key, std::chrono::milliseconds window) {
    const QDateTime now = m_clock();
    const auto found = m_recentlyNotified.constFind(key);
    // The window runs from when the key was last let through; a suppressed
    // repeat does not extend it.
    if (found != m_recentlyNotified.constEnd() && found->msecsTo(now) < window.count())
        return true;
    m_recentlyNotified.insert(key, now);
    if (m_recentlyNotified.size() > kPruneAbove) {
        m_recentlyNotified.removeIf([&](const QHash<QString, QDateTime>::iterator it) {
            return it.value().msecsTo(now) >= Timing::current().throttlePruneAge.count();
        });
    }
    return false;
}

void NotificationManager::present(const RealtimeEvent& event) {
    if (!event.notify || !globallyEnabled(event.kind))
        return;
    const QString key =
        RealtimeEvent::kindText(event.kind) + u':' + event.conversationID.value_or(event.projectID);
    const auto window = event.kind == RealtimeEvent::Kind::visitorOnline
                            ? Timing::current().visitorThrottle
                            : Timing::current().conversationThrottle;
    if (suppress(key, window))
        return;
    fire(event.title, event.body, event.projectID, event.conversationID,
         event.kind == RealtimeEvent::Kind::escalated);
}

void NotificationManager::fire(const QString& title, const QString& body, const QString& projectID,
                               const std::optional<QString>& conversationID, bool urgent) {
    if (m_permission == NotificationPermission::denied) {
        qCInfo(lcNotifications).noquote()
            << "fire skipped — notifications denied for Kestovar in System Settings";
        return;
    }
    if (m_appState && m_appState->isProjectMuted(projectID)) {
        qCInfo(lcNotifications).noquote()
            << QStringLiteral("fire skipped — agent muted: %1").arg(projectID);
        return;
    }
    const QVariant sound = m_settings->value(QLatin1StringView(kPlaySoundKey));
    urgent = urgent && conversationID;
    // A newer notice of a waiting visitor replaces the waiting one, and still waits.
    if (!urgent && conversationID && m_waiting.contains(*conversationID))
        urgent = true;
    NotificationRequest request{
        title,     body,           sound.typeId() != QMetaType::Bool || sound.toBool(),
        projectID, conversationID, urgent};
    if (urgent) {
        m_waiting.insert(*conversationID, request);
        m_waitingOrder.removeOne(*conversationID);
        m_waitingOrder.append(*conversationID);
        // Escalations nobody answers here and no list shows again (another
        // scope, gone from the service) must not pile up all day.
        while (m_waitingOrder.size() > kMaxWaiting)
            m_waiting.remove(m_waitingOrder.takeFirst());
        m_newestWaiting = *conversationID;
        if (request.sound && repeatsSound()) {
            m_repeatsLeft = kSoundRepeats;
            m_repeat.start(Timing::current().escalationSoundRepeat);
        }
    }
    post(std::move(request));
}

void NotificationManager::repeatSound() {
    if (m_waiting.isEmpty() || m_repeatsLeft <= 0 || !playSound() || !repeatsSound()) {
        m_repeat.stop();
        return;
    }
    // Posted again in place: the desktop sounds it without a second notification.
    const auto newest = m_waiting.constFind(m_newestWaiting);
    post(newest != m_waiting.constEnd() ? *newest : *m_waiting.cbegin());
    if (--m_repeatsLeft == 0)
        m_repeat.stop();
}

void NotificationManager::withdrawAnsweredListed() {
    if (m_appState)
        withdrawAnswered(m_appState->conversations());
}

void NotificationManager::withdrawAnswered(const QList<Conversation>& list) {
    if (m_waiting.isEmpty())
        return;
    for (const Conversation& c : list) {
        if (c.status != ConversationStatus::waiting && m_waiting.remove(c.id)) {
            m_waitingOrder.removeOne(c.id);
            if (m_waiting.isEmpty())
                m_repeat.stop();
            qCInfo(lcNotifications).noquote()
                << QStringLiteral("withdrawn — %1 no longer waits").arg(c.id);
            m_notifier->withdraw(c.id);
        }
    }
}

QCoro::Task<> NotificationManager::post(NotificationRequest request) {
    const auto error = co_await m_notifier->post(std::move(request));
    if (error)
        qCWarning(lcNotifications).noquote() << QStringLiteral("add failed: %1").arg(*error);
}

QCoro::Task<> NotificationManager::onActivated(QString projectID,
                                               std::optional<QString> conversationID) {
    emit activateRequested();
    if (projectID.isEmpty() || !m_appState)
        co_return;
    co_await m_appState->navigate(projectID, conversationID);
}

QCoro::Task<> NotificationManager::onReplied(QString projectID,
                                             std::optional<QString> conversationID, QString text) {
    QPointer self(this);
    if (projectID.isEmpty() || !conversationID) {
        co_await onActivated(projectID, conversationID);
        co_return;
    }
    const QString reply = text.trimmed();
    if (reply.isEmpty() || !m_appState)
        co_return;
    const ApiResult<void> sent =
        co_await m_appState->sendOperatorReplyDirect(projectID, *conversationID, reply);
    // A reply typed into a notification must not vanish: say so, and keep its text.
    if (!sent.ok() && self && m_appState && m_appState->authStatus() == AuthStatus::signedIn) {
        // Built apart from the co_await: g++ 12 mishandles temporaries inside one.
        NotificationRequest notice;
        notice.title = QStringLiteral("Reply not sent");
        notice.body = reply;
        notice.sound = playSound();
        notice.projectID = projectID;
        notice.conversationID = conversationID;
        co_await post(std::move(notice));
    }
}

} // namespace kv
