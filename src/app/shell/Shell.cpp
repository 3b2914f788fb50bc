#include "Shell.h"

#include "AccessibleState.h"
#include "ConnectivityWatcher.h"
#include "DemoSession.h"
#include "DesktopServices.h"
#include "DraftStore.h"
#include "EngineNetwork.h"
#include "FreedesktopNotifier.h"
#include "KeychainCredentialStore.h"
#include "LauncherBadge.h"
#include "Log.h"
#include "LoginItem.h"
#include "QmlRegistration.h"
#include "SingleInstance.h"
#include "StartupMetric.h"
#include "Timing.h"
#include "TrayIcon.h"
#include "TypedPreferences.h"
#include "UiTexts.h"
#include "Updater.h"
#include "notifications/NotificationManager.h"
#include "platform/Browser.h"
#include "service/Configuration.h"
#include "state/AppState.h"

#include <QCoreApplication>
#include <QDBusConnection>
#include <QDesktopServices>
#include <QEvent>
#include <QKeySequence>
#include <QNetworkAccessManager>
#include <QQmlApplicationEngine>
#include <QQmlComponent>
#include <QQuickWindow>
#include <QSettings>
#include <QStandardPaths>
#include <QTimer>

namespace kv {

namespace {

class DesktopBrowser final : public Browser {
public:
    bool openUrl(const QUrl& url) override { return QDesktopServices::openUrl(url); }
};

} // namespace

Shell::Shell(Options options, SingleInstance* instance)
    : m_options(std::move(options)), m_instance(instance) {}

Shell::~Shell() {
    m_engine.reset();
    m_desktop.reset();
    m_state.reset();
    m_updater.reset();
    m_network.reset(); // its kept-alive connections would hold the demo's service up
    m_demo.reset();
}

QQuickWindow* Shell::mainWindow() const {
    if (!m_engine || m_engine->rootObjects().isEmpty())
        return nullptr;
    return qobject_cast<QQuickWindow*>(m_engine->rootObjects().first());
}

bool Shell::start() {
    m_network = std::make_unique<QNetworkAccessManager>();
    if (m_options.demo) {
        // Its own service, key store and preferences: nothing of the real account is touched.
        DemoSession::Options demo{m_options.demoAgents, m_options.measureStartup,
                                  m_options.demoHostile};
        m_demo = DemoSession::start(demo, [this](const QUrl& url) { handleUrl(url); });
        if (!m_demo)
            return false;
        m_preferences = &m_demo->settings();
        m_credentials = &m_demo->credentials();
        m_browser = &m_demo->browser();
    } else {
        m_settings = openPreferences();
        m_keychain = std::make_unique<KeychainCredentialStore>();
        m_desktopBrowser = std::make_unique<DesktopBrowser>();
        m_preferences = m_settings.get();
        m_credentials = m_keychain.get();
        m_browser = m_desktopBrowser.get();
    }
    m_notifier = std::make_unique<FreedesktopNotifier>();
    if (QDBusConnection::sessionBus().isConnected())
        m_badge = std::make_unique<LauncherBadge>();
    m_notifications = std::make_unique<NotificationManager>(m_notifier.get(), m_preferences);
    connect(m_notifications.get(), &NotificationManager::activateRequested, this,
            &Shell::showMainWindow);
    connect(m_notifications.get(), &NotificationManager::quickReplyRequested, this,
            &Shell::openQuickReply);

    AppState::Dependencies deps;
    deps.network = m_network.get();
    deps.credentials = m_credentials;
    deps.settings = m_preferences;
    deps.browser = m_browser;
    deps.badge = m_badge.get();
    deps.notifications = m_notifications.get();
    m_state = std::make_unique<AppState>(deps);
    connect(m_state.get(), &AppState::projectsChanged, this, &Shell::updateTrayUnread);
    m_drafts = std::make_unique<DraftStore>(
        m_state.get(), m_demo ? m_demo->draftsDirectory()
                              : QStandardPaths::writableLocation(QStandardPaths::AppDataLocation) +
                                    QStringLiteral("/drafts"));
    DraftStore::setInstance(m_drafts.get());
    // A laptop that slept or changed networks: reconnect and catch up at once.
    m_connectivity = std::make_unique<ConnectivityWatcher>(QDBusConnection::systemBus());
    QTimer::singleShot(Timing::current().networkWatchDelay, m_connectivity.get(),
                       &ConnectivityWatcher::watchNetwork);
    connect(m_connectivity.get(), &ConnectivityWatcher::resumed, m_state.get(), &AppState::resume);
    connect(m_connectivity.get(), &ConnectivityWatcher::networkLost, m_state.get(),
            &AppState::networkLost);

    // Releases are announced in an appcast beside the service, unless told otherwise.
    const QString feed = qEnvironmentVariable("KESTOVAR_APPCAST_URL");
    m_updater = std::make_unique<Updater>(
        m_network.get(), m_browser,
        feed.isEmpty() ? QUrl(Configuration::baseURL().toString() + QStringLiteral("/appcast.xml"))
                       : QUrl(feed));
    m_loginItem = std::make_unique<LoginItem>(m_preferences,
                                              m_demo ? m_demo->autostartDirectory()
                                                     : LoginItem::defaultAutostartDirectory(),
                                              QCoreApplication::applicationFilePath());
    m_desktop = std::make_unique<DesktopServices>(
        DesktopServices::Parts{m_preferences, m_loginItem.get(), m_notifications.get()});
    DesktopServices::setInstance(m_desktop.get());
    connect(m_desktop.get(), &DesktopServices::settingsRequested, this, &Shell::showSettings);
    // Ends the event loop outright: a GUI application's quit() would first
    // ask every window to close, and a window that minimises instead of
    // closing (no tray) would refuse.
    connect(
        m_desktop.get(), &DesktopServices::quitRequested, this, [] { QCoreApplication::exit(0); },
        Qt::QueuedConnection);
    registerQmlTypes(m_state.get(), m_updater.get());
    installAccessibleState();
    m_engine = std::make_unique<QQmlApplicationEngine>();
    m_engineNetwork = std::make_unique<EngineNetwork>(*m_engine, *m_state);
    m_engine->addImportPath(QStringLiteral("qrc:/"));
    m_engine->load(QUrl(QStringLiteral("qrc:/Kestovar/shell/Main.qml")));
    if (!mainWindow())
        return false;

    if (!m_options.demo) {
        qCInfo(lcAppDelegate).noquote()
            << "applicationDidFinishLaunching — registering kestovar: URL hand-off";
        m_loginItem->reconcileAtLaunch();
    }
    connect(m_instance, &SingleInstance::urlReceived, this, &Shell::handleUrl);
    connect(m_instance, &SingleInstance::activationRequested, this, &Shell::showMainWindow);
    buildTray();
    if (!m_tray)
        mainWindow()->installEventFilter(this);
    if (!m_options.measureStartup)
        m_updater->startScheduledChecks();
    if (m_demo)
        m_demo->run(*m_state, mainWindow());
    else if (m_options.measureStartup) // a returning user against the real (or a simulated) service
        reportFirstSignedInFrame(*m_state, mainWindow(), this);
    showMainWindow();
    return true;
}

void Shell::showMainWindow() {
    QQuickWindow* window = mainWindow();
    if (!window)
        return;
    window->show();
    window->raise();
    window->requestActivate();
    // Every appearance of the window's content re-runs the start sequence.
    m_state->bootstrap();
}

void Shell::showSettings() {
    // One settings window: asking again brings it to the front.
    if (!m_settingsWindow) {
        QQmlComponent component(
            m_engine.get(),
            QUrl(QStringLiteral("qrc:/Kestovar/features/settings/SettingsWindow.qml")));
        auto* window = qobject_cast<QWindow*>(component.create());
        if (!window)
            return;
        window->setParent(nullptr);
        connect(window, &QWindow::visibleChanged, window, [window](bool visible) {
            if (!visible)
                window->deleteLater();
        });
        m_settingsWindow = window;
    }
    m_settingsWindow->show();
    m_settingsWindow->raise();
    m_settingsWindow->requestActivate();
}

void Shell::openQuickReply(const QString& projectID, const QString& conversationID) {
    QQmlComponent component(m_engine.get(),
                            QUrl(QStringLiteral("qrc:/Kestovar/shell/QuickReplyWindow.qml")));
    const auto project = m_state->project(projectID);
    QString visitor;
    for (const Conversation& c : m_state->conversations()) {
        if (c.id == conversationID)
            visitor = c.visitorName.value_or(QString());
    }
    auto* window = qobject_cast<QWindow*>(component.createWithInitialProperties(
        {{"projectID", projectID},
         {"conversationID", conversationID},
         {"projectName", project ? project->name : QStringLiteral("Kestovar")},
         {"visitorName", visitor}}));
    if (!window)
        return;
    connect(window, &QWindow::visibleChanged, window, [window](bool visible) {
        if (!visible)
            window->deleteLater();
    });
    window->show();
    window->requestActivate();
}

void Shell::handleUrl(const QUrl& url) {
    m_state->handleIncomingURL(url);
}

void Shell::buildTray() {
    // Without a tray host the item is simply absent; launching again brings the window back.
    m_tray = TrayIcon::create();
    if (!m_tray)
        return;
    m_tray->setIcon(trayIcon(false));
    m_tray->setToolTip(QStringLiteral("Kestovar"));
    m_tray->addEntry(
        QStringLiteral("Open Kestovar"), [this] { showMainWindow(); },
        QKeySequence(QStringLiteral("Ctrl+O")));
    m_unreadLine = m_tray->addEntry(QStringLiteral("No unread conversations"));
    m_tray->setEnabled(m_unreadLine, false);
    m_tray->addSeparator();
    m_tray->addEntry(
        QStringLiteral("Settings…"), [this] { showSettings(); },
        QKeySequence(QStringLiteral("Ctrl+,")));
    m_checkForUpdates =
        m_tray->addEntry(QStringLiteral("Check for Updates…"), [this] { checkForUpdates(); });
    // Shown once a check has found a newer release: its page opens only from here or Settings.
    m_downloadUpdate = m_tray->addEntry(QString(), [this] { m_updater->openReleasePage(); });
    connect(m_updater.get(), &Updater::canCheckForUpdatesChanged, this, &Shell::updateTrayUpdates);
    connect(m_updater.get(), &Updater::statusChanged, this, &Shell::updateTrayUpdates);
    updateTrayUpdates();
    m_tray->addSeparator();
    // The one way the console quits, as Ctrl+Q and the account menu do.
    m_tray->addEntry(
        QStringLiteral("Quit Kestovar"), [this] { m_desktop->quit(); },
        QKeySequence(QStringLiteral("Ctrl+Q")));
    connect(m_tray.get(), &TrayIcon::activated, this, &Shell::showMainWindow);
}

bool Shell::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() != QEvent::Close || watched != mainWindow() || m_tray)
        return QObject::eventFilter(watched, event);
    event->ignore();
    mainWindow()->showMinimized();
    explainMinimising();
    return true;
}

void Shell::explainMinimising() {
    if (std::exchange(m_minimisingExplained, true))
        return;
    // Said where the operator looks as the window goes: on the desktop.
    qCInfo(lcAppDelegate).noquote()
        << "no tray on this desktop: closing the window minimises it; told the operator why";
    NotificationRequest notice;
    notice.title = QStringLiteral("Kestovar is still open");
    notice.body = QStringLiteral(
        "This desktop has no tray to keep Kestovar in, so closing the window minimised it and "
        "notifications keep coming. To quit, press Ctrl+Q or choose Quit Kestovar in the "
        "account menu.");
    notice.sound = false;
    m_notifier->post(notice);
}

void Shell::updateTrayUpdates() {
    if (!m_tray)
        return;
    m_tray->setEnabled(m_checkForUpdates, m_updater->canCheckForUpdates());
    const QString version = m_updater->availableVersion();
    m_tray->setVisible(m_downloadUpdate, !version.isEmpty());
    m_tray->setText(m_downloadUpdate, QStringLiteral("Download Kestovar %1…").arg(version));
}

void Shell::checkForUpdates() {
    showSettings();
    if (m_settingsWindow)
        m_settingsWindow->setProperty("currentTab", 3); // About: where the outcome shows
    m_updater->checkForUpdates();
}

void Shell::updateTrayUnread() {
    const qint64 unread = m_state->unreadTotal();
    const QString line = UiTexts::unreadLine(unread);
    if (m_tray) {
        m_tray->setText(m_unreadLine, line);
        m_tray->setToolTip(QStringLiteral("Kestovar — ") + line);
        // Unread conversations show at a glance: the icon carries a dot.
        m_tray->setIcon(trayIcon(unread >= 1));
    }
}

QIcon Shell::trayIcon(bool unread) {
    return QIcon(unread ? QStringLiteral(":/Kestovar/appicon/tray-unread.svg")
                        : QStringLiteral(":/Kestovar/appicon/tray.svg"));
}

} // namespace kv
