#pragma once

// The desktop's side of the settings, as the screens reach it (`Desktop` in
// QML): the stored preferences, the login item, the notification manager,
// and the way to the settings window. The shell (or a test) provides the
// one instance before the first screen loads.

#include <QObject>
#include <QtQml/qqmlregistration.h>

class QJSEngine;
class QQmlEngine;
class QSettings;

namespace kv {

class LoginItem;
class NotificationManager;

class DesktopServices : public QObject {
    Q_OBJECT
    QML_NAMED_ELEMENT(Desktop)
    QML_SINGLETON

public:
    struct Parts {
        QSettings* preferences = nullptr;
        LoginItem* loginItem = nullptr;               // none: launching at login is not offered
        NotificationManager* notifications = nullptr; // none: nothing is notified
    };

    explicit DesktopServices(Parts parts, QObject* parent = nullptr);

    static void setInstance(DesktopServices* services);
    static DesktopServices* instance();
    static DesktopServices* create(QQmlEngine* engine, QJSEngine* js);

    QSettings* preferences() const { return m_parts.preferences; }
    LoginItem* loginItem() const { return m_parts.loginItem; }
    NotificationManager* notifications() const { return m_parts.notifications; }

    // Ctrl+, and the tray's "Settings…": the settings window.
    Q_INVOKABLE void openSettings() { emit settingsRequested(); }
    // Ctrl+Q and "Quit Kestovar": the console ends, window, tray and stream.
    Q_INVOKABLE void quit() { emit quitRequested(); }
    // The quick switcher's settings places: that tab of the settings shown.
    Q_INVOKABLE void showSettingsTab(int index) { emit settingsTabRequested(index); }

signals:
    void settingsRequested();
    void quitRequested();
    void settingsTabRequested(int index);

private:
    Parts m_parts;
};

} // namespace kv
