#pragma once

// Desktop notifications over the freedesktop notification service (D-Bus).
// Clicks and replies come back as signals on the connection that posted,
// matched to this application's own notification ids. Where the server
// offers an inline reply the notification carries one; elsewhere a "Reply"
// action asks for the quick-reply window instead.
//
// What it remembers of its notifications is bounded: the newest
// `kMaxTracked`, and nothing once the server's bus name changes owner (a
// restarted server numbers from scratch, so an old id would replace or
// answer for another program's notification).

#include "platform/Notifier.h"
#include "service/WaitList.h"

#include <QDBusConnection>
#include <QHash>
#include <QList>
#include <QSet>
#include <QStringList>

class QDBusServiceWatcher;

namespace kv {

class FreedesktopNotifier final : public Notifier {
    Q_OBJECT

public:
    explicit FreedesktopNotifier(QDBusConnection bus = QDBusConnection::sessionBus(),
                                 QString service = QStringLiteral("org.freedesktop.Notifications"),
                                 QObject* parent = nullptr);

    QCoro::Task<NotificationPermission> requestAuthorization() override;
    QCoro::Task<NotificationPermission> currentAuthorization() override;
    QCoro::Task<std::optional<QString>> post(NotificationRequest request) override;
    bool offersInlineReply() const override;
    // CloseNotification for the conversation's notification, if it still shows.
    void withdraw(const QString& conversationID) override;

    // What the server said it can do (after the first authorisation check or post).
    QStringList capabilities() const { return m_capabilities; }

    static constexpr int kMaxTracked = 200;
    // How many of its notifications it can still match a click or a reply to.
    int tracked() const { return int(m_shown.size()); }

    // A body as a server that reads markup ("body-markup") shows it literally:
    // "&", "<" and ">" escaped, nothing else touched.
    static QString escapeBodyMarkup(const QString& body);

    // The variable through which the window system takes an activation token:
    // the next window raised presents it (xdg-activation on Wayland), so the
    // compositor lets the window the operator clicked for come to the front.
    static constexpr char kActivationTokenVariable[] = "XDG_ACTIVATION_TOKEN";

private slots:
    void onActivationToken(uint id, const QString& token);
    void onActionInvoked(uint id, const QString& action);
    void onReplied(uint id, const QString& text);
    void onClosed(uint id, uint reason);
    void forgetAll();

private:
    struct Shown {
        QString projectID;
        std::optional<QString> conversationID;
    };

    QDBusConnection m_bus;
    QString m_service;
    QStringList m_capabilities;
    bool m_capabilitiesKnown = false;
    QHash<uint, Shown> m_shown;            // our notifications the server still shows
    QHash<QString, uint> m_byConversation; // a conversation's notification, replaced in place
    // Conversations whose last notice the server has not answered yet: a post for
    // one waits for that answer, to replace the notice it names (not add a second).
    QSet<QString> m_posting;
    WaitList m_answered;
    QList<uint> m_order; // ids of m_shown, oldest first
    QDBusServiceWatcher* m_watcher;

    void track(uint id, Shown shown);
    void untrack(uint id);
};

} // namespace kv
