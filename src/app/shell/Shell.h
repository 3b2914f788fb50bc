#pragma once

// The application around the state: windows, the tray item, the desktop's
// services, URL hand-off from later launches, and the demo against an
// embedded simulator.

#include <QIcon>
#include <QObject>
#include <QPointer>
#include <QUrl>
#include <QWindow>

#include <memory>

class QNetworkAccessManager;
class QQmlApplicationEngine;
class QQuickWindow;
class QSettings;

namespace kv {

class AppState;
class EngineNetwork;
class Browser;
class ConnectivityWatcher;
class CredentialStore;
class DemoSession;
class DesktopServices;
class DraftStore;
class LauncherBadge;
class LoginItem;
class NotificationManager;
class Notifier;
class SingleInstance;
class TrayIcon;
class Updater;

class Shell : public QObject {
    Q_OBJECT

public:
    struct Options {
        bool demo = false;
        int demoAgents = 7;
        bool demoHostile = false; // every text of the demo account hostile
        // Benchmarks: start as a returning user and report the first signed-in frame.
        bool measureStartup = false;
    };

    explicit Shell(Options options, SingleInstance* instance);
    ~Shell() override;

    // Builds everything and shows the main window; false when the screens failed to load.
    bool start();
    AppState& state() { return *m_state; }
    QQuickWindow* mainWindow() const;

public slots:
    // "Open Kestovar", a later launch, a clicked notification: the window, in front, refreshed.
    void showMainWindow();
    void showSettings();
    // The settings window on its About tab, checking for updates.
    void checkForUpdates();
    void openQuickReply(const QString& projectID, const QString& conversationID);
    void handleUrl(const QUrl& url);

protected:
    // Without a tray host a closed window could not be brought back: it minimises.
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void buildTray();
    void explainMinimising();
    void updateTrayUnread();
    void updateTrayUpdates();
    static QIcon trayIcon(bool unread);

    Options m_options;
    SingleInstance* m_instance;
    std::unique_ptr<DemoSession> m_demo; // the demo's service, preferences, keys and browser
    std::unique_ptr<QSettings> m_settings;
    std::unique_ptr<QNetworkAccessManager> m_network;
    std::unique_ptr<CredentialStore> m_keychain;
    std::unique_ptr<Browser> m_desktopBrowser;
    QSettings* m_preferences = nullptr;
    CredentialStore* m_credentials = nullptr;
    Browser* m_browser = nullptr;
    std::unique_ptr<Notifier> m_notifier;
    std::unique_ptr<LauncherBadge> m_badge;
    std::unique_ptr<NotificationManager> m_notifications;
    std::unique_ptr<AppState> m_state;
    std::unique_ptr<DraftStore> m_drafts;
    std::unique_ptr<ConnectivityWatcher> m_connectivity;
    std::unique_ptr<Updater> m_updater;
    std::unique_ptr<LoginItem> m_loginItem;
    std::unique_ptr<DesktopServices> m_desktop;
    std::unique_ptr<EngineNetwork> m_engineNetwork; // outlives the engine
    std::unique_ptr<QQmlApplicationEngine> m_engine;
    std::unique_ptr<TrayIcon> m_tray; // none without a tray host
    bool m_minimisingExplained = false;
    // The tray menu's lines that change.
    int m_unreadLine = -1;
    int m_checkForUpdates = -1;
    int m_downloadUpdate = -1;
    QPointer<QWindow> m_settingsWindow;
};

} // namespace kv
