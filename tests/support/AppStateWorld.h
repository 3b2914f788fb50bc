#pragma once

// The application state over the simulated service on loopback, with a key
// store, preferences, a browser and a badge that record what they are given:
// the world the state's integration tests start from. Each test gets a fresh
// service and state (init/cleanup run around every test function).

#include "Await.h"
#include "LogCapture.h"
#include "RecordingBrowser.h"
#include "SimServer.h"
#include "Timing.h"
#include "platform/Badge.h"
#include "platform/CredentialStore.h"
#include "service/Configuration.h"
#include "state/AppState.h"

#include <QAbstractItemModelTester>
#include <QJsonDocument>
#include <QNetworkAccessManager>
#include <QRegularExpression>
#include <QSettings>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <QUrlQuery>

namespace kv::test {

struct RecordingBadge final : Badge {
    QList<qint64> counts;
    void setCount(qint64 count) override { counts.append(count); }
};

class AppStateWorld : public QObject {
    Q_OBJECT

protected:
    std::unique_ptr<sim::SimServer> sim;
    std::unique_ptr<QNetworkAccessManager> network;
    std::unique_ptr<MemoryCredentialStore> store;
    std::unique_ptr<QTemporaryDir> dir;
    std::unique_ptr<QSettings> settings;
    RecordingBrowser browser;
    RecordingBadge badge;
    std::unique_ptr<AppState> state;
    QList<std::shared_ptr<QAbstractItemModelTester>> testers;

    void makeState() {
        testers.clear();
        state.reset();
        AppState::Dependencies deps;
        deps.network = network.get();
        deps.credentials = store.get();
        deps.settings = settings.get();
        deps.browser = &browser;
        deps.badge = &badge;
        state = std::make_unique<AppState>(deps);
        for (QAbstractItemModel* model : std::initializer_list<QAbstractItemModel*>{
                 state->projectsModel(), state->clientsModel(), state->conversationsModel(),
                 state->liveVisitorsModel(), state->snippetsModel(),
                 state->notificationPrefsModel(), state->selectedMessagesModel()}) {
            testers.append(std::make_shared<QAbstractItemModelTester>(
                model, QAbstractItemModelTester::FailureReportingMode::QtTest));
        }
    }

    void signedInState() {
        await(store->save(sim->apiKey()));
        makeState();
        await(state->bootstrap());
        QCOMPARE(state->authStatus(), AuthStatus::signedIn);
    }

    // Requests the service received whose target starts with `prefix`.
    int requestsTo(const QString& prefix, const QString& method = QStringLiteral("GET")) const {
        int n = 0;
        for (const QJsonValue& r : sim->requests()) {
            const QJsonObject o = r.toObject();
            n += o["target"].toString().startsWith(prefix) && o["method"].toString() == method;
        }
        return n;
    }

    void addFault(const char* json) {
        QString error;
        const auto fault = sim::Fault::fromJson(QJsonDocument::fromJson(json).object(), &error);
        QVERIFY2(fault, qPrintable(error));
        sim->addFault(*fault);
    }

    QUrl callback(const QString& code, const QString& stateToken) const {
        QUrl url(QStringLiteral("kestovar://callback"));
        QUrlQuery query;
        query.addQueryItem("code", code);
        query.addQueryItem("state", stateToken);
        url.setQuery(query);
        return url;
    }

    QString pendingToken() const {
        return QUrlQuery(browser.opened.last()).queryItemValue("state");
    }

private slots:
    void init() {
        Timing::current() = Timing{};
        Timing::current().sseCatchUp = std::chrono::milliseconds(200);
        sim = std::make_unique<sim::SimServer>();
        QVERIFY(sim->start() > 0);
        qputenv(Configuration::kApiUrlVariable, sim->baseUrl().toUtf8());
        network = std::make_unique<QNetworkAccessManager>();
        store = std::make_unique<MemoryCredentialStore>();
        dir = std::make_unique<QTemporaryDir>();
        settings = std::make_unique<QSettings>(dir->filePath("prefs.ini"), QSettings::IniFormat);
        browser.opened.clear();
        badge.counts.clear();
        makeState();
    }

    void cleanup() {
        testers.clear();
        state.reset();
        network.reset(); // closes kept-alive connections, so the server stops at once
        sim.reset();
        qunsetenv(Configuration::kApiUrlVariable);
        Timing::current() = Timing{};
    }
};

} // namespace kv::test
