#include "NotificationSettings.h"

#include "AppStateForeign.h"
#include "DesktopServices.h"
#include "UiTexts.h"
#include "notifications/NotificationManager.h"
#include "state/AppState.h"

#include <QPointer>
#include <QSettings>

namespace kv {

NotificationSettings::NotificationSettings(QObject* parent)
    : NotificationSettings(AppStateForeign::instance(), DesktopServices::instance(), parent) {}

NotificationSettings::NotificationSettings(AppState* state, DesktopServices* desktop,
                                           QObject* parent)
    : QObject(parent), m_state(state), m_desktop(desktop) {
    connect(m_state, &AppState::projectsChanged, this, &NotificationSettings::projectsChanged);
    connect(m_state, &AppState::notificationPrefsChanged, this,
            &NotificationSettings::projectsChanged);
    followManager();
}

void NotificationSettings::followManager() {
    if (m_manager)
        disconnect(m_manager, nullptr, this, nullptr);
    m_manager = m_desktop ? m_desktop->notifications() : nullptr;
    if (m_manager) {
        connect(m_manager, &NotificationManager::permissionChanged, this,
                &NotificationSettings::serviceChanged);
    }
    emit serviceChanged();
}

bool NotificationSettings::read(const char* key) const {
    QSettings* prefs = m_desktop ? m_desktop->preferences() : nullptr;
    if (qstrcmp(key, NotificationManager::kRepeatEscalationSoundKey) == 0) // off unless set
        return prefs && NotificationManager::switchSet(prefs, key);
    return !prefs || NotificationManager::switchOn(prefs, key);
}

void NotificationSettings::write(const char* key, bool on) {
    QSettings* prefs = m_desktop ? m_desktop->preferences() : nullptr;
    if (!prefs || read(key) == on)
        return;
    prefs->setValue(QLatin1StringView(key), on);
    emit switchesChanged();
}

bool NotificationSettings::escalation() const {
    return read(NotificationManager::kEscalationKey);
}
void NotificationSettings::setEscalation(bool on) {
    write(NotificationManager::kEscalationKey, on);
}
bool NotificationSettings::newMessage() const {
    return read(NotificationManager::kNewMessageKey);
}
void NotificationSettings::setNewMessage(bool on) {
    write(NotificationManager::kNewMessageKey, on);
}
bool NotificationSettings::visitorOnline() const {
    return read(NotificationManager::kVisitorOnlineKey);
}
void NotificationSettings::setVisitorOnline(bool on) {
    write(NotificationManager::kVisitorOnlineKey, on);
}
bool NotificationSettings::playSound() const {
    return read(NotificationManager::kPlaySoundKey);
}
void NotificationSettings::setPlaySound(bool on) {
    write(NotificationManager::kPlaySoundKey, on);
}
bool NotificationSettings::repeatEscalationSound() const {
    return read(NotificationManager::kRepeatEscalationSoundKey);
}
void NotificationSettings::setRepeatEscalationSound(bool on) {
    write(NotificationManager::kRepeatEscalationSoundKey, on);
}

QList<ProjectMuteRow> NotificationSettings::projects() const {
    QList<ProjectMuteRow> out;
    for (const Project& p : m_state->projects())
        out.append({p.id, p.emoji, p.name, m_state->isProjectMuted(p.id)});
    return out;
}

bool NotificationSettings::serviceMissing() const {
    return !m_manager || m_manager->permission() == NotificationPermission::noServer;
}

void NotificationSettings::appear() {
    [](QPointer<NotificationSettings> self) -> QCoro::Task<> {
        co_await self->m_state->loadNotificationPrefs();
        if (!self || !self->m_manager)
            co_return;
        co_await self->m_manager->refreshAuthorizationStatus();
    }(this);
}

void NotificationSettings::setMuted(const QString& projectID, bool muted) {
    m_state->setProjectMuted(projectID, muted);
}

void NotificationSettings::sendTestNotification() {
    if (m_testing)
        return;
    m_testing = true;
    emit testChanged();
    [](QPointer<NotificationSettings> self) -> QCoro::Task<> {
        NotificationManager::TestOutcome outcome{QStringLiteral("no notifier"), false};
        if (QPointer<NotificationManager> manager = self->m_manager.data())
            outcome = co_await manager->sendTest();
        if (!self)
            co_return;
        self->m_testing = false;
        self->m_testDelivered = !outcome.error;
        self->m_testResult = outcome.error ? UiTexts::testNotificationMissing()
                                           : UiTexts::testNotificationDelivered();
        self->m_testReplyNote =
            outcome.error ? QString() : UiTexts::testNotificationReplies(outcome.inlineReply);
        emit self->testChanged();
    }(this);
}

} // namespace kv
