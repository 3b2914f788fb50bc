#pragma once

// The console as the user runs it, whole (shell, windows, tray or not), in
// demo mode: its own simulated service, signed in through the callback path.
// The shell's desktop tests start it here.

#include "Shell.h"
#include "SingleInstance.h"
#include "state/AppState.h"

#include <QQuickWindow>
#include <QTest>

namespace kv::test {

class DemoShell {
public:
    // `instanceName`: a single-instance lock of the test's own.
    explicit DemoShell(const QString& instanceName) : m_instance(instanceName) {}

    // Builds everything; true once signed in with the main window on screen.
    bool start() {
        return shell.start() &&
               QTest::qWaitFor([&] { return shell.state().authStatus() == AuthStatus::signedIn; },
                               30'000) &&
               QTest::qWaitFor([&] { return shell.mainWindow()->isExposed(); });
    }

private:
    static Shell::Options demo() {
        Shell::Options options;
        options.demo = true;
        options.demoAgents = 2;
        return options;
    }

    SingleInstance m_instance;

public:
    Shell shell{demo(), &m_instance};
};

} // namespace kv::test
