#pragma once

// The Notifications tab's view-model: the four switches, the per-agent
// mute, whether any notification service answers, and a test notification
// that says what happened and where replies will be typed.

#include <QObject>
#include <QPointer>
#include <QtQml/qqmlregistration.h>

namespace kv {

class AppState;
class DesktopServices;
class NotificationManager;

// One agent's row under "Per-agent mute".
struct ProjectMuteRow {
    Q_GADGET
    QML_VALUE_TYPE(projectMuteRow)
    Q_PROPERTY(QString id MEMBER id)
    Q_PROPERTY(QString emoji MEMBER emoji)
    Q_PROPERTY(QString name MEMBER name)
    Q_PROPERTY(bool muted MEMBER muted)

public:
    QString id;
    QString emoji;
    QString name;
    bool muted = false;
    bool operator==(const ProjectMuteRow&) const = default;
};

class NotificationSettings : public QObject {
    Q_OBJECT
    QML_ELEMENT
    Q_PROPERTY(bool escalation READ escalation WRITE setEscalation NOTIFY switchesChanged)
    Q_PROPERTY(bool newMessage READ newMessage WRITE setNewMessage NOTIFY switchesChanged)
    Q_PROPERTY(bool visitorOnline READ visitorOnline WRITE setVisitorOnline NOTIFY switchesChanged)
    Q_PROPERTY(bool playSound READ playSound WRITE setPlaySound NOTIFY switchesChanged)
    // Off until the operator turns it on.
    Q_PROPERTY(bool repeatEscalationSound READ repeatEscalationSound WRITE setRepeatEscalationSound
                   NOTIFY switchesChanged)
    // In the order of the agents.
    Q_PROPERTY(QList<kv::ProjectMuteRow> projects READ projects NOTIFY projectsChanged)
    // No notification service answered when last asked: the banner shows.
    Q_PROPERTY(bool serviceMissing READ serviceMissing NOTIFY serviceChanged)
    Q_PROPERTY(bool testing READ testing NOTIFY testChanged)
    Q_PROPERTY(QString testResult READ testResult NOTIFY testChanged)
    Q_PROPERTY(bool testDelivered READ testDelivered NOTIFY testChanged)
    Q_PROPERTY(QString testReplyNote READ testReplyNote NOTIFY testChanged)

public:
    explicit NotificationSettings(QObject* parent = nullptr);
    NotificationSettings(AppState* state, DesktopServices* desktop, QObject* parent);

    bool escalation() const;
    void setEscalation(bool on);
    bool newMessage() const;
    void setNewMessage(bool on);
    bool visitorOnline() const;
    void setVisitorOnline(bool on);
    bool playSound() const;
    void setPlaySound(bool on);
    bool repeatEscalationSound() const;
    void setRepeatEscalationSound(bool on);
    QList<ProjectMuteRow> projects() const;
    bool serviceMissing() const;
    bool testing() const { return m_testing; }
    QString testResult() const { return m_testResult; }
    bool testDelivered() const { return m_testDelivered; }
    QString testReplyNote() const { return m_testReplyNote; }

    // Each time the tab is shown: the mutes from the service, the desktop asked again.
    Q_INVOKABLE void appear();
    Q_INVOKABLE void setMuted(const QString& projectID, bool muted);
    Q_INVOKABLE void sendTestNotification();

signals:
    void switchesChanged();
    void projectsChanged();
    void serviceChanged();
    void testChanged();

private:
    void followManager();
    bool read(const char* key) const;
    void write(const char* key, bool on);

    AppState* m_state;
    DesktopServices* m_desktop;
    QPointer<NotificationManager> m_manager;
    bool m_testing = false;
    bool m_testDelivered = false;
    QString m_testResult;
    QString m_testReplyNote;
};

} // namespace kv
