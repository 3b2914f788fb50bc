#pragma once

// The simulated service a demo runs against, as the demo sees it. The
// simulator, its HTTP server and the TLS and compression libraries that
// server links live in a module of their own (kestovar-demo-sim), loaded only
// when a demo starts: a console signing in to the real service never maps them.

#include <QString>

namespace kv {

struct DemoSimConfig {
    double speed = 1; // the scenario clock: 0 keeps the account still
    int agents = 7;
    bool hostile = false; // every text of the account hostile
};

class DemoSim {
public:
    virtual ~DemoSim() = default;
    // Listens on a free loopback port. Returns the port, or -1.
    virtual int start() = 0;
    virtual void stop() = 0;
    virtual QString baseUrl() const = 0;
    virtual QString apiKey() const = 0;
    // The one-time code the browser would carry back for this sign-in state.
    virtual QString approve(const QString& state) = 0;
};

// The module's one entry point, looked up by this name.
using CreateDemoSim = DemoSim* (*)(const DemoSimConfig* config);
inline constexpr char kCreateDemoSimSymbol[] = "kestovar_create_demo_sim";

} // namespace kv
