#pragma once

// The console as the screen benchmarks run it: the real main window over a
// state signed in to a simulated service on loopback. The lists it is
// measured against are in ReferenceLists.h.

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

class BenchConsole {
public:
    explicit BenchConsole(sim::SimConfig config) : m_sim(config) {}

    // Starts the service (`prepare` may change its data first), signs in and
    // shows the window; true once the inbox is listed.
    bool start(const std::function<void(sim::SimData&)>& prepare = {}) {
        if (m_sim.start() < 0)
            return false;
        qputenv(Configuration::kApiUrlVariable, m_sim.baseUrl().toUtf8());
        if (prepare) {
            m_sim.withData([&](sim::SimData& d) {
                prepare(d);
                return 0;
            });
        }
        QCoro::waitFor(m_store.save(m_sim.apiKey()));
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
    sim::SimServer& sim() { return m_sim; }

    std::unique_ptr<AppState> state;

private:
    sim::SimServer m_sim;
    QNetworkAccessManager m_network;
    MemoryCredentialStore m_store;
    QTemporaryDir m_dir;
    QSettings m_settings{m_dir.filePath("prefs.ini"), QSettings::IniFormat};
    QQmlApplicationEngine m_engine;
};

} // namespace kv::bench
