#pragma once

// The one owner of desktop notifications: honours the global per-kind
// toggles, the per-agent mute and a throttle shared by the realtime and the
// polling paths, posts through the desktop's notifier, and turns clicks and
// typed replies into navigation and sent replies.

#include "platform/Notifier.h"
#include "records/RealtimeEvent.h"
#include "records/Records.h"

#include <QDateTime>
#include <QHash>
#include <QObject>
#include <QPointer>
#include <QTimer>

#include <functional>

class QSettings;

namespace kv {

class AppState;

class NotificationManager : public QObject {
    Q_OBJECT
    Q_PROPERTY(kv::NotificationPermission permission READ permission NOTIFY permissionChanged)

public:
    static constexpr char kEscalationKey[] = "KestovarMac.notif.escalation";
    static constexpr char kNewMessageKey[] = "KestovarMac.notif.newMessage";
    static constexpr char kVisitorOnlineKey[] = "KestovarMac.notif.visitorOnline";
    static constexpr char kPlaySoundKey[] = "KestovarMac.notif.playSound";
    // Off unless set: the escalation sound again every escalationSoundRepeat
    // while a visitor waits, at most kSoundRepeats times.
    static constexpr char kRepeatEscalationSoundKey[] = "KestovarMac.notif.repeatEscalationSound";
    static constexpr int kSoundRepeats = 10;
    // Waiting visitors remembered for withdrawal and the repeated sound, at
    // most: the oldest beyond it is forgotten (a desktop shows far fewer).
    static constexpr int kMaxWaiting = 200;
    static constexpr char kCategoryID[] = "KESTOVAR_EVENT";
    static constexpr char kReplyActionID[] = "KESTOVAR_REPLY";
    static constexpr qsizetype kPruneAbove = 500;

    using Clock = std::function<QDateTime()>;

    NotificationManager(Notifier* notifier, QSettings* settings, QObject* parent = nullptr);

    // Each time the state bootstraps: remember it, ask for permission.
    void bootstrap(AppState& appState);
    QCoro::Task<> refreshAuthorizationStatus();
    NotificationPermission permission() const { return m_permission; }

    // What a test notification showed: whether the desktop took it (else
    // why not), and where replies to notifications will be typed.
    struct TestOutcome {
        std::optional<QString> error;
        bool inlineReply = false;
    };
    // Posts a notification that says what it is, after asking the desktop afresh what it offers.
    QCoro::Task<TestOutcome> sendTest();

    void present(const RealtimeEvent& event);
    bool globallyEnabled(RealtimeEvent::Kind kind) const;
    // A stored switch: on unless it holds the Bool false (missing, or text, is on).
    static bool switchOn(const QSettings* settings, const char* key);
    // A switch that is off unless it holds the Bool true.
    static bool switchSet(const QSettings* settings, const char* key);
    // True when a notification under `key` was let through less than `window` ago.
    bool suppress(const QString& key, std::chrono::milliseconds window);
    // `urgent`: a visitor waiting for a human; the desktop keeps it on screen
    // until withdrawAnswered() sees the conversation taken over, answered or resolved.
    void fire(const QString& title, const QString& body, const QString& projectID,
              const std::optional<QString>& conversationID, bool urgent = false);
    // Takes back the waiting notifications of the conversations in `list` that
    // no longer wait (taken over, answered or resolved, here or elsewhere).
    void withdrawAnswered(const QList<Conversation>& list);
    // Conversations whose escalation is still on screen.
    QList<QString> waitingOnScreen() const { return m_waiting.keys(); }
    // Whether the escalation sound will sound again.
    bool repeatingSound() const { return m_repeat.isActive(); }

    // Tests drive the throttle's clock.
    void setClock(Clock clock) { m_clock = std::move(clock); }
    qsizetype throttledKeys() const { return m_recentlyNotified.size(); }

signals:
    void permissionChanged();
    // A click: the shell brings the main window to the front.
    void activateRequested();
    // No inline reply on this desktop: the shell opens the quick-reply window.
    void quickReplyRequested(const QString& projectID, const QString& conversationID);

private:
    QCoro::Task<> onActivated(QString projectID, std::optional<QString> conversationID);
    QCoro::Task<> onReplied(QString projectID, std::optional<QString> conversationID, QString text);
    QCoro::Task<> post(NotificationRequest request);
    void withdrawAnsweredListed();
    bool playSound() const;
    bool repeatsSound() const;

    Notifier* m_notifier;
    QSettings* m_settings;
    QPointer<AppState> m_appState;
    NotificationPermission m_permission = NotificationPermission::notDetermined;
    QHash<QString, QDateTime> m_recentlyNotified;
    // Conversations whose escalation is on screen, with what was last posted
    // for each; m_waitingOrder holds their ids, oldest first.
    QHash<QString, NotificationRequest> m_waiting;
    QList<QString> m_waitingOrder;
    QString m_newestWaiting;
    QTimer m_repeat;
    int m_repeatsLeft = 0;
    void repeatSound();
    Clock m_clock = [] { return QDateTime::currentDateTimeUtc(); };
};

} // namespace kv
