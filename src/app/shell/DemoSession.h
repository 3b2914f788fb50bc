#pragma once

// What only `kestovar --demo` does: runs the embedded service with its own
// preferences file and key store, plays the browser of the sign-in, signs in
// the way a user would, and — when asked — renders every screen to PNG files
// or reports the first signed-in frame for the start-up benchmark.

#include "platform/Browser.h"

#include <QObject>
#include <QString>
#include <QUrl>

#include <functional>
#include <memory>

class QQuickWindow;
class QSettings;

namespace kv {

class AppState;
class CredentialStore;
class DemoService;

class DemoSession : public QObject {
    Q_OBJECT

public:
    struct Options {
        int agents = 7;
        bool measureStartup = false; // start as a returning user and report the first frame
        bool hostile = false;        // every text of the account hostile
    };

    // None when the embedded service could not start. `openUrl` receives the
    // callback the browser would hand back, as a later launch would.
    static std::unique_ptr<DemoSession> start(Options options,
                                              std::function<void(const QUrl&)> openUrl);
    ~DemoSession() override;

    QSettings& settings() { return *m_settings; }
    CredentialStore& credentials();
    Browser& browser() { return *m_browser; }
    // Where the demo's "Launch at login" entry goes: never the user's own autostart.
    QString autostartDirectory() const { return m_directory + QStringLiteral("/autostart"); }
    QString draftsDirectory() const { return m_directory + QStringLiteral("/drafts"); }

    // Once the window is up: sign in as a user would, or wait for the first
    // signed-in frame.
    void run(AppState& state, QQuickWindow* window);

private:
    DemoSession(Options options, std::unique_ptr<DemoService> service, QString directory);
    void signInLikeAUser(AppState& state);

    Options m_options;
    std::unique_ptr<DemoService> m_service;
    QString m_directory;
    std::unique_ptr<QSettings> m_settings;
    std::unique_ptr<Browser> m_browser;
};

} // namespace kv
