#pragma once

// The console as the screen benchmarks run it: the real main window over a
// state signed in to a simulated service on loopback. The lists it is
// measured against are in ReferenceLists.h.
//
// The service runs in this process, on threads of its own, unless the
// environment names one (kServiceVariable): a child that measures its peak
// memory uses its parent's, so that what it measures is the console's alone.

#include "FrameTiming.h"
#include "ObjectLookup.h"
#include "QmlRegistration.h"
#include "SimServer.h"
#include "platform/CredentialStore.h"
#include "service/Configuration.h"
#include "state/AppState.h"

#include <QCoroTask>
#include <QNetworkAccessManager>
#include <QQmlApplicationEngine>
#include <QSettings>
#include <QTemporaryDir>
#include <QTest>

#include <functional>
#include <memory>

namespace kv::bench {

inline constexpr char kServiceVariable[] = "KV_BENCH_SERVICE_URL";

class BenchConsole {
public:
    explicit BenchConsole(sim::SimConfig config) : m_config(std::move(config)) {}

    // Starts the service (`prepare` may change its data first; a service
    // named by the environment was prepared by its parent), signs in and
    // shows the window; true once the inbox is listed.
    bool start(const std::function<void(sim::SimData&)>& prepare = {}) {
        QString url = qEnvironmentVariable(kServiceVariable);
        if (url.isEmpty()) {
            m_sim = std::make_unique<sim::SimServer>(m_config);
            if (m_sim->start() < 0)
                return false;
            if (prepare) {
                m_sim->withData([&](sim::SimData& d) {
                    prepare(d);
                    return 0;
                });
            }
            url = m_sim->baseUrl();
        }
        qputenv(Configuration::kApiUrlVariable, url.toUtf8());
        QCoro::waitFor(m_store.save(m_config.apiKey));
        AppState::Dependencies deps;
        deps.network = &m_network;
        deps.credentials = &m_store;
        deps.settings = &m_settings;
        state = std::make_unique<AppState>(deps);
        registerQmlTypes(state.get());
        m_engine.addImportPath("qrc:/");
        m_engine.load(QUrl("qrc:/Kestovar/shell/Main.qml"));
        if (!window())
            return false;
        window()->show();
        QCoro::waitFor(state->bootstrap());
        return QTest::qWaitFor([&] { return item("conversationList") != nullptr; }, 60'000);
    }

    QQuickWindow* window() { return qobject_cast<QQuickWindow*>(m_engine.rootObjects().value(0)); }
    QQuickItem* item(const char* name) {
        return findItem(window()->contentItem(), QString::fromLatin1(name));
    }
    QObject* object(const char* name) {
        return kv::findObjectByName(window()->contentItem(), QString::fromLatin1(name));
    }
    // The service's address, for a child measuring its peak memory.
    QString serviceUrl() const { return qEnvironmentVariable(Configuration::kApiUrlVariable); }

    std::unique_ptr<AppState> state;

private:
    sim::SimConfig m_config;
    std::unique_ptr<sim::SimServer> m_sim; // none when the environment names a service
    QNetworkAccessManager m_network;
    MemoryCredentialStore m_store;
    QTemporaryDir m_dir;
    QSettings m_settings{m_dir.filePath("prefs.ini"), QSettings::IniFormat};
    QQmlApplicationEngine m_engine;
};

} // namespace kv::bench
