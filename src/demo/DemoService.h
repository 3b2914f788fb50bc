#pragma once

// The demo's own service, shared by `kestovar --demo` and `kestovar-cli
// --demo`: the simulator on a random loopback port, the service address
// pointed at it, and a throw-away key store. Nothing of a real account is
// touched. Signing in goes the way a browser would: the service approves
// the sign-in state and hands back a one-time code.

#include "SimServer.h"
#include "platform/CredentialStore.h"
#include "service/ApiClient.h"

#include <QUrl>

#include <memory>
#include <optional>

namespace kv {

class DemoService {
public:
    struct Options {
        double speed = 1; // the scenario clock: visitors arrive, chats escalate
        int agents = 7;
        // Every text of the account hostile (markup, images, script links, control characters).
        bool hostile = false;
    };

    // None when the simulator could not listen.
    static std::unique_ptr<DemoService> start(Options options);
    ~DemoService();
    DemoService(const DemoService&) = delete;
    DemoService& operator=(const DemoService&) = delete;

    sim::SimServer& sim() { return *m_sim; }
    CredentialStore& credentials() { return m_credentials; }

    // The kestovar://callback URL the browser would come back with after the
    // sign-in page `signInPage` (the service's /oauth/device address); none
    // for any other page.
    std::optional<QUrl> callbackFor(const QUrl& signInPage);
    // Signs in straight through the code exchange (no browser) and stores the key.
    QCoro::Task<ApiResult<SignInExchange>> signIn(ApiClient& api);

private:
    explicit DemoService(std::unique_ptr<sim::SimServer> sim);

    std::unique_ptr<sim::SimServer> m_sim;
    MemoryCredentialStore m_credentials;
};

} // namespace kv
