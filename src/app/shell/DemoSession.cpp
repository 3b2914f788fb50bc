#include "DemoSession.h"

#include "DemoService.h"
#include "StartupMetric.h"
#include "Timing.h"
#include "TypedPreferences.h"
#include "service/Cancellation.h"
#include "state/AppState.h"

#include <QCoreApplication>
#include <QCoroTask>
#include <QDesktopServices>
#include <QDir>
#include <QQuickWindow>
#include <QSettings>
#include <QTimer>

namespace kv {

namespace {

// The demo's browser: the embedded service approves the sign-in at once and
// its callback comes back the way a browser's would, as a kestovar: URL.
class DemoBrowser final : public Browser {
public:
    DemoBrowser(DemoService* service, std::function<void(const QUrl&)> openUrl)
        : m_service(service), m_openUrl(std::move(openUrl)) {}

    bool openUrl(const QUrl& url) override {
        if (const auto callback = m_service->callbackFor(url)) {
            QTimer::singleShot(Timing::current().demoCallbackDelay,
                               [open = m_openUrl, url = *callback] { open(url); });
            return true;
        }
        return QDesktopServices::openUrl(url);
    }

private:
    DemoService* m_service;
    std::function<void(const QUrl&)> m_openUrl;
};

} // namespace

std::unique_ptr<DemoSession> DemoSession::start(Options options,
                                                std::function<void(const QUrl&)> openUrl) {
    DemoService::Options service;
    service.speed = options.measureStartup ? 0 : 1; // measured still, otherwise lively
    service.agents = options.agents;
    service.hostile = options.hostile;
    auto running = DemoService::start(service);
    if (!running)
        return nullptr;
    const QString directory = QDir::tempPath() + QStringLiteral("/kestovar-demo-") +
                              QString::number(QCoreApplication::applicationPid());
    QDir().mkpath(directory);
    std::unique_ptr<DemoSession> session(
        new DemoSession(std::move(options), std::move(running), directory));
    session->m_browser =
        std::make_unique<DemoBrowser>(session->m_service.get(), std::move(openUrl));
    if (session->m_options.measureStartup) // a returning user: the key is already stored
        QCoro::waitFor(session->credentials().save(session->m_service->apiKey()));
    return session;
}

DemoSession::DemoSession(Options options, std::unique_ptr<DemoService> service, QString directory)
    : m_options(std::move(options)), m_service(std::move(service)),
      m_directory(std::move(directory)),
      m_settings(openPreferences(m_directory + QStringLiteral("/preferences.json"))) {}

DemoSession::~DemoSession() {
    m_settings.reset();
    QDir(m_directory).removeRecursively();
}

CredentialStore& DemoSession::credentials() {
    return m_service->credentials();
}

void DemoSession::run(AppState& state, QQuickWindow* window) {
    if (m_options.measureStartup)
        reportFirstSignedInFrame(state, window, this);
    else
        signInLikeAUser(state);
}

void DemoSession::signInLikeAUser(AppState& state) {
    // Signed out at first (an empty key store): sign in the way a user would.
    QTimer::singleShot(Timing::current().demoSignInDelay, this, [&state] {
        if (state.authStatus() == AuthStatus::signedOut)
            state.beginSignIn();
    });
    connect(&state, &AppState::loadStateChanged, this, [&state] {
        if (state.loadState() == LoadState::loaded)
            qInfo().noquote() << "demo: signed in as" << state.userEmail();
    });
}

} // namespace kv
