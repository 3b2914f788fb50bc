#include "Shell.h"

#include "FreedesktopNotifier.h"
#include "KeychainCredentialStore.h"
#include "LauncherBadge.h"
#include "Log.h"
#include "LoginItem.h"
#include "ProcessStats.h"
#include "QmlRegistration.h"
#include "SimServer.h"
#include "SingleInstance.h"
#include "UiSupport.h"
#include "Updater.h"
#include "notifications/NotificationManager.h"
#include "platform/Browser.h"
#include "service/Cancellation.h"
#include "service/Configuration.h"
#include "state/AppState.h"

#include <QAction>
#include <QCoroTask>
#include <QFile>

#include <QApplication>
#include <QDBusConnection>
#include <QDesktopServices>
#include <QDir>
#include <QMenu>
#include <QNetworkAccessManager>
#include <QQmlApplicationEngine>
#include <QQmlComponent>
#include <QQmlContext>
#include <QQuickWindow>
#include <QSettings>
#include <QStandardPaths>
#include <QSystemTrayIcon>
#include <QTimer>
#include <QUrlQuery>
#include <cstdio>

namespace kv {

namespace {

class DesktopBrowser final : public Browser {
public:
    bool openUrl(const QUrl& url) override { return QDesktopServices::openUrl(url); }
};

// The demo's browser: the embedded service approves the sign-in at once and
// its callback comes back the way a browser's would, as a kestovar: URL.
class DemoBrowser final : public Browser {
public:
    DemoBrowser(sim::SimServer* sim, Shell* shell) : m_sim(sim), m_shell(shell) {}
    bool openUrl(const QUrl& url) override {
        const QString state = QUrlQuery(url).queryItemValue(QStringLiteral("state"));
        if (url.path().endsWith(QStringLiteral("/oauth/device")) && !state.isEmpty()) {
            QUrl callback(QStringLiteral("kestovar://callback"));
            QUrlQuery query;
            query.addQueryItem(QStringLiteral("code"), m_sim->approve(state));
            query.addQueryItem(QStringLiteral("state"), state);
            callback.setQuery(query);
            QTimer::singleShot(400, m_shell,
                               [shell = m_shell, callback] { shell->handleUrl(callback); });
            return true;
        }
        return QDesktopServices::openUrl(url);
    }

private:
    sim::SimServer* m_sim;
    Shell* m_shell;
};

} // namespace

Shell::Shell(Options options, SingleInstance* instance)
    : m_options(std::move(options)), m_instance(instance) {}

Shell::~Shell() {
    m_engine.reset();
    m_state.reset();
    m_updater.reset();
    m_network.reset(); // its kept-alive connections would hold the simulator up
    if (m_sim)
        m_sim->stop();
    if (!m_demoDir.isEmpty())
        QDir(m_demoDir).removeRecursively();
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
        sim::SimConfig config;
        config.speed = m_options.measureStartup ? 0 : 1;
        config.data.agents = m_options.demoAgents;
        m_sim = std::make_unique<sim::SimServer>(config);
        if (m_sim->start() < 0)
            return false;
        qputenv(Configuration::kApiUrlVariable, m_sim->baseUrl().toUtf8());
        m_demoDir = QDir::tempPath() + QStringLiteral("/kestovar-demo-") +
                    QString::number(QCoreApplication::applicationPid());
        QDir().mkpath(m_demoDir);
        m_settings =
            std::make_unique<QSettings>(m_demoDir + "/preferences.ini", QSettings::IniFormat);
        m_credentials = std::make_unique<MemoryCredentialStore>();
        if (m_options.measureStartup) // a returning user: the key is already stored
            QCoro::waitFor(m_credentials->save(m_sim->apiKey()));
        m_browser = std::make_unique<DemoBrowser>(m_sim.get(), this);
    } else {
        m_settings = std::make_unique<QSettings>();
        m_credentials = std::make_unique<KeychainCredentialStore>();
        m_browser = std::make_unique<DesktopBrowser>();
    }
    m_notifier = std::make_unique<FreedesktopNotifier>();
    if (QDBusConnection::sessionBus().isConnected())
        m_badge = std::make_unique<LauncherBadge>();
    m_notifications = std::make_unique<NotificationManager>(m_notifier.get(), m_settings.get());
    connect(m_notifications.get(), &NotificationManager::activateRequested, this,
            &Shell::showMainWindow);
    connect(m_notifications.get(), &NotificationManager::quickReplyRequested, this,
            &Shell::openQuickReply);

    AppState::Dependencies deps;
    deps.network = m_network.get();
    deps.credentials = m_credentials.get();
    deps.settings = m_settings.get();
    deps.browser = m_browser.get();
    deps.badge = m_badge.get();
    deps.notifications = m_notifications.get();
    m_state = std::make_unique<AppState>(deps);
    connect(m_state.get(), &AppState::projectsChanged, this, &Shell::updateTrayUnread);

    // Releases are announced in an appcast beside the service, unless told otherwise.
    const QString feed = qEnvironmentVariable("KESTOVAR_APPCAST_URL");
    m_updater = std::make_unique<Updater>(
        m_network.get(), m_browser.get(),
        feed.isEmpty() ? QUrl(Configuration::baseURL().toString() + QStringLiteral("/appcast.xml"))
                       : QUrl(feed));
    registerQmlTypes(m_state.get(), m_updater.get());
    m_engine = std::make_unique<QQmlApplicationEngine>();
    m_engine->addImportPath(QStringLiteral("qrc:/"));
    m_engine->load(QUrl(QStringLiteral("qrc:/Kestovar/qml/Main.qml")));
    if (!mainWindow())
        return false;

    if (!m_options.demo) {
        qCInfo(lcAppDelegate).noquote()
            << "applicationDidFinishLaunching — registering kestovar: URL hand-off";
        LoginItem(m_settings.get(), LoginItem::defaultAutostartDirectory(),
                  QCoreApplication::applicationFilePath())
            .reconcileAtLaunch();
    }
    connect(m_instance, &SingleInstance::urlReceived, this, &Shell::handleUrl);
    connect(m_instance, &SingleInstance::activationRequested, this, &Shell::showMainWindow);
    buildTray();
    if (m_options.measureStartup)
        reportFirstSignedInFrame();
    showMainWindow();
    if (m_options.demo)
        startDemo();
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
    QQmlComponent component(m_engine.get(),
                            QUrl(QStringLiteral("qrc:/Kestovar/qml/SettingsWindow.qml")));
    if (auto* window = qobject_cast<QWindow*>(component.create())) {
        window->setParent(nullptr);
        connect(window, &QWindow::visibleChanged, window, [window](bool visible) {
            if (!visible)
                window->deleteLater();
        });
        window->show();
    }
}

void Shell::openQuickReply(const QString& projectID, const QString& conversationID) {
    QQmlComponent component(m_engine.get(),
                            QUrl(QStringLiteral("qrc:/Kestovar/qml/QuickReplyWindow.qml")));
    const auto agent = m_state->project(projectID);
    QString visitor;
    for (const Conversation& c : m_state->conversations()) {
        if (c.id == conversationID)
            visitor = c.visitorName.value_or(QString());
    }
    auto* window = qobject_cast<QWindow*>(component.createWithInitialProperties(
        {{"projectID", projectID},
         {"conversationID", conversationID},
         {"agentName", agent ? agent->name : QStringLiteral("Kestovar")},
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
    m_trayMenu = std::make_unique<QMenu>();
    QAction* open =
        m_trayMenu->addAction(QStringLiteral("Open Kestovar"), this, &Shell::showMainWindow);
    open->setShortcut(QKeySequence(QStringLiteral("Ctrl+O")));
    m_unreadLine = m_trayMenu->addAction(QStringLiteral("No unread conversations"));
    m_unreadLine->setEnabled(false);
    m_trayMenu->addSeparator();
    QAction* settings =
        m_trayMenu->addAction(QStringLiteral("Settings…"), this, &Shell::showSettings);
    settings->setShortcut(QKeySequence(QStringLiteral("Ctrl+,")));
    m_trayMenu->addSeparator();
    QAction* quit =
        m_trayMenu->addAction(QStringLiteral("Quit Kestovar"), qApp, &QCoreApplication::quit);
    quit->setShortcut(QKeySequence(QStringLiteral("Ctrl+Q")));
    // Without a tray host the item is simply absent; launching again brings the window back.
    if (QSystemTrayIcon::isSystemTrayAvailable()) {
        m_tray = std::make_unique<QSystemTrayIcon>();
        m_tray->setToolTip(QStringLiteral("Kestovar"));
        m_tray->setContextMenu(m_trayMenu.get());
        connect(m_tray.get(), &QSystemTrayIcon::activated, this, [this](auto reason) {
            if (reason == QSystemTrayIcon::Trigger)
                showMainWindow();
        });
        m_tray->show();
    }
}

void Shell::updateTrayUnread() {
    qint64 total = 0;
    for (const Project& p : m_state->projects())
        total += p.unreadCount;
    const QString line = UiSupport::unreadLine(total);
    if (m_unreadLine)
        m_unreadLine->setText(line);
    if (m_tray)
        m_tray->setToolTip(QStringLiteral("Kestovar — ") + line);
}

void Shell::startDemo() {
    if (m_options.measureStartup)
        return; // measured from start()
    if (!m_options.screenshotsDir.isEmpty()) {
        takeScreenshots();
        return;
    }
    // Signed out at first (an empty key store): sign in the way a user would.
    QTimer::singleShot(300, this, [this] {
        if (m_state->authStatus() == AuthStatus::signedOut)
            m_state->beginSignIn();
    });
    connect(m_state.get(), &AppState::loadStateChanged, this, [this] {
        if (m_state->loadState() == LoadState::loaded)
            qInfo().noquote() << "demo: signed in as" << m_state->userEmail();
    });
}

void Shell::reportFirstSignedInFrame() {
    // The first frame drawn once the agents are loaded and shown.
    auto* window = mainWindow();
    connect(window, &QQuickWindow::frameSwapped, this, [this] {
        if (m_state->loadState() != LoadState::loaded || m_state->projects().isEmpty())
            return;
        std::printf("first-signed-in-frame after=%lld ms peak-rss=%s pss=%s agents=%lld\n",
                    process::msSinceStart(),
                    process::field("/proc/self/status", "VmHWM:").constData(),
                    process::field("/proc/self/smaps_rollup", "Pss:").constData(),
                    qint64(m_state->projects().size()));
        std::fflush(stdout);
        QCoreApplication::quit();
    });
}

void Shell::takeScreenshots() {
    [](Shell* self) -> QCoro::Task<> {
        const QString dir = self->m_options.screenshotsDir;
        QDir().mkpath(dir);
        AppState& state = *self->m_state;
        auto settle = [](int ms) {
            return sleepFor(std::chrono::milliseconds(ms), Cancellation());
        };
        auto grab = [self, dir](const QString& name) {
            const QImage image = self->mainWindow()->grabWindow();
            const QString path = dir + u'/' + name + QStringLiteral(".png");
            image.save(path);
            qInfo().noquote() << "screenshot:" << path;
        };
        co_await settle(800);
        for (const auto appearance : {AppearancePreference::light, AppearancePreference::dark}) {
            state.setAppearance(appearance);
            co_await settle(300);
            grab(QStringLiteral("signin-%1")
                     .arg(appearance == AppearancePreference::dark ? "dark" : "light"));
        }
        state.setAppearance(AppearancePreference::light);
        state.beginSignIn();
        for (int i = 0; i < 150 && state.loadState() != LoadState::loaded; ++i)
            co_await settle(100);
        const std::pair<AppSection, const char*> sections[] = {{AppSection::inbox, "inbox"},
                                                               {AppSection::visitors, "visitors"},
                                                               {AppSection::stats, "stats"},
                                                               {AppSection::settings, "settings"}};
        for (const auto appearance : {AppearancePreference::light, AppearancePreference::dark}) {
            for (const auto size : {FontSizePreference::normal, FontSizePreference::extraLarge}) {
                state.setAppearance(appearance);
                state.setFontSize(size);
                for (const auto& [section, name] : sections) {
                    state.setSelectedSection(section);
                    co_await settle(400);
                    grab(QStringLiteral("%1-%2-%3")
                             .arg(QLatin1StringView(name),
                                  appearance == AppearancePreference::dark ? "dark" : "light",
                                  size == FontSizePreference::normal ? "normal" : "large"));
                }
            }
        }
        QCoreApplication::quit();
    }(this);
}

} // namespace kv
