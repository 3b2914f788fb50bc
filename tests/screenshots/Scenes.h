#pragma once

// The screens to look at, one scene each. A scene gets a console of its own,
// signed in to a fresh simulated account (the sign-in scene excepted), and
// sets up what it shows through the view-models' and the state's C++ API and
// the simulator's controls: no scene depends on another or on their order.

#include <QList>
#include <QString>

#include <functional>

namespace kv::test {

class UiHarness;

struct Scene {
    Scene(QString name, std::function<void(UiHarness&)> setUp, bool signedIn = true,
          bool everyTextSize = true, QString notificationService = {})
        : name(std::move(name)), setUp(std::move(setUp)), signedIn(signedIn),
          everyTextSize(everyTextSize), notificationService(std::move(notificationService)) {}

    QString name;
    std::function<void(UiHarness&)> setUp;
    bool signedIn = true;
    bool everyTextSize = true; // the sign-in screen is shown at normal text only
    // The desktop's notification service; empty: the session's own.
    QString notificationService;
};

QList<Scene> scenes();

// Lets the window catch up: loads answer, delegates appear, animations end.
void settle(int times = 1);

} // namespace kv::test
