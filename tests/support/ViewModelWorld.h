#pragma once

// What a view-model test stands on: a simulated service on loopback with five
// conversations per agent, a state signed in to it (its key saved, not yet
// bootstrapped), preferences in a folder of the test's own and a browser that
// records what it is asked to open. A test class derives from it and calls
// start() in init() and stop() in cleanup().

#include "Await.h"
#include "RecordingBrowser.h"
#include "SimServer.h"
#include "TypedPreferences.h"
#include "platform/CredentialStore.h"
#include "service/Configuration.h"
#include "state/AppState.h"

#include <QAbstractItemModel>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QNetworkAccessManager>
#include <QSettings>
#include <QTemporaryDir>
#include <QTest>

namespace kv::test {

class ViewModelWorld {
protected:
    std::unique_ptr<sim::SimServer> sim;
    std::unique_ptr<QNetworkAccessManager> network;
    MemoryCredentialStore store;
    QTemporaryDir dir;
    std::unique_ptr<QSettings> settings;
    RecordingBrowser browser;
    std::unique_ptr<AppState> state;

    bool start() {
        sim::SimConfig config;
        config.data.conversationsPerAgent = 5;
        sim = std::make_unique<sim::SimServer>(config);
        if (sim->start() <= 0)
            return false;
        qputenv(Configuration::kApiUrlVariable, sim->baseUrl().toUtf8());
        network = std::make_unique<QNetworkAccessManager>();
        settings = openPreferences(dir.filePath("prefs.json"));
        await(store.save(sim->apiKey()));
        AppState::Dependencies deps;
        deps.network = network.get();
        deps.credentials = &store;
        deps.settings = settings.get();
        deps.browser = &browser;
        state = std::make_unique<AppState>(deps);
        browser.opened.clear();
        return true;
    }

    void stop() {
        state.reset();
        network.reset();
        sim.reset();
        qunsetenv(Configuration::kApiUrlVariable);
    }

    // The first listed conversation of a status.
    QString firstWith(ConversationStatus status) const {
        for (const Conversation& c : state->conversations()) {
            if (c.status == status)
                return c.id;
        }
        return QString();
    }

    // Requests the service received: "METHOD path" (query left out), in order.
    QStringList received() const {
        QStringList out;
        for (const QJsonValue& r : sim->requests())
            out.append(r["method"].toString() + u' ' + r["path"].toString());
        return out;
    }
    QList<QJsonObject> bodiesOf(const QString& method, const QString& path) const {
        QList<QJsonObject> out;
        for (const QJsonValue& r : sim->requests()) {
            if (r["method"].toString() == method && r["path"].toString() == path)
                out.append(QJsonDocument::fromJson(r["body"].toString().toUtf8()).object());
        }
        return out;
    }
    void addFault(const char* json) {
        QString error;
        const auto fault = sim::Fault::fromJson(QJsonDocument::fromJson(json).object(), &error);
        QVERIFY2(fault, qPrintable(error));
        sim->addFault(*fault);
    }

    // The row whose `role` reads `value`, or -1.
    int rowOf(QAbstractItemModel* model, const QString& role, const QString& value) const {
        const int r = model->roleNames().key(role.toLatin1(), -1);
        for (int i = 0; i < model->rowCount(); ++i) {
            if (model->index(i, 0).data(r).toString() == value)
                return i;
        }
        return -1;
    }
};

} // namespace kv::test
