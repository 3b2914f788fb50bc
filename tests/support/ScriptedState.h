#pragma once

// The application state over a scripted service (ScriptedRepository),
// signed in and ready: for tests of the state's own rules, where what
// matters is the order answers come back in, not the HTTP beneath them. The
// realtime stream points at a closed loopback port and is never reached.

#include "Await.h"
#include "ScriptedRepository.h"
#include "platform/CredentialStore.h"
#include "service/Configuration.h"
#include "state/AppState.h"

#include <QNetworkAccessManager>
#include <QSettings>
#include <QTemporaryDir>

namespace kv::test {

class ScriptedState {
public:
    ScriptedState() {
        qputenv(Configuration::kApiUrlVariable, "http://127.0.0.1:9");
        settings = std::make_unique<QSettings>(dir.filePath("prefs.ini"), QSettings::IniFormat);
        repo.projects = {project("p1", "Northwind Support"), project("p2", "Bluebell Dental")};
    }
    ~ScriptedState() {
        state.reset();
        qunsetenv(Configuration::kApiUrlVariable);
    }

    // Builds the state and signs in with a stored key.
    AppState& signIn(NotificationManager* notifications = nullptr) {
        AppState::Dependencies deps;
        deps.network = &network;
        deps.credentials = &credentials;
        deps.settings = settings.get();
        deps.notifications = notifications;
        deps.makeRepository = forwardingTo(repo);
        state = std::make_unique<AppState>(deps);
        await(credentials.save(QStringLiteral("scripted-key")));
        await(state->bootstrap());
        return *state;
    }

    ScriptedRepository repo;
    QNetworkAccessManager network;
    MemoryCredentialStore credentials;
    QTemporaryDir dir;
    std::unique_ptr<QSettings> settings;
    std::unique_ptr<AppState> state;
};

} // namespace kv::test
