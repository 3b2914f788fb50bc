#pragma once

// The console's core without a window, signed in to a (simulated) service:
// preferences in a folder of its own, the key in memory, notifications handed
// to the given notifier. Shared by the benchmarks that drive the state directly.

#include "notifications/NotificationManager.h"
#include "platform/CredentialStore.h"
#include "state/AppState.h"

#include <QCoroTask>
#include <QNetworkAccessManager>
#include <QSettings>
#include <QTemporaryDir>

namespace kv::bench {

// Notifications that go nowhere, every one accepted: for benches without a
// notification server, which still measure up to the hand-over.
class Nowhere final : public Notifier {
public:
    QCoro::Task<NotificationPermission> requestAuthorization() override {
        co_return NotificationPermission::authorized;
    }
    QCoro::Task<NotificationPermission> currentAuthorization() override {
        co_return NotificationPermission::authorized;
    }
    QCoro::Task<std::optional<QString>> post(NotificationRequest) override {
        co_return std::nullopt;
    }
};

class SignedInCore {
public:
    // Bootstraps with `apiKey` already stored, as a returning user would.
    SignedInCore(const QString& apiKey, Notifier* notifier)
        : settings(dir.filePath(QStringLiteral("prefs.ini")), QSettings::IniFormat),
          manager(notifier, &settings), state(dependencies()) {
        QCoro::waitFor(store.save(apiKey));
        QCoro::waitFor(state.bootstrap());
    }

    // Declared in the order they are built: the state uses everything above it.
    QTemporaryDir dir;
    QSettings settings;
    NotificationManager manager;
    QNetworkAccessManager network;
    MemoryCredentialStore store;
    AppState state;

private:
    AppState::Dependencies dependencies() {
        AppState::Dependencies deps;
        deps.network = &network;
        deps.credentials = &store;
        deps.settings = &settings;
        deps.notifications = &manager;
        return deps;
    }
};

} // namespace kv::bench
