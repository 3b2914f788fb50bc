#pragma once

// The demo's own service, shared by `kestovar --demo` and `kestovar-cli
// --demo`: the simulator on a random loopback port, the service address
// pointed at it, and a throw-away key store. Nothing of a real account is
// touched. Signing in goes the way a browser would: the service approves
// the sign-in state and hands back a one-time code.

#include "DemoSim.h"
#include "platform/CredentialStore.h"
#include "service/ApiClient.h"

#include <QUrl>

#include <memory>
#include <optional>

namespace kv {

class DemoService {
public:
    using Options = DemoSimConfig;

    // None when the simulator's module could not be loaded or the simulator
    // could not listen; the reason is logged.
    static std::unique_ptr<DemoService> start(Options options);
    ~DemoService();
    DemoService(const DemoService&) = delete;
    DemoService& operator=(const DemoService&) = delete;

    // The key the simulated account accepts.
    QString apiKey() const { return m_sim->apiKey(); }
    CredentialStore& credentials() { return m_credentials; }

    // The kestovar://callback URL the browser would come back with after the
    // sign-in page `signInPage` (the service's /oauth/device address); none
    // for any other page.
    std::optional<QUrl> callbackFor(const QUrl& signInPage);
    // Signs in straight through the code exchange (no browser) and stores the key.
    QCoro::Task<ApiResult<SignInExchange>> signIn(ApiClient& api);

private:
    explicit DemoService(std::unique_ptr<DemoSim> sim);

    std::unique_ptr<DemoSim> m_sim;
    MemoryCredentialStore m_credentials;
};

} // namespace kv
