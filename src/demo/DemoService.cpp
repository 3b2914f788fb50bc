#include "DemoService.h"

#include "service/Configuration.h"

#include <QCoreApplication>
#include <QFileInfo>
#include <QLibrary>
#include <QUrlQuery>
#include <QUuid>

namespace kv {

namespace {

// The installed module beside the installed programs, else the one this
// build made (tests and benches run from the build tree).
QStringList simModuleCandidates() {
    return {QCoreApplication::applicationDirPath() +
                QStringLiteral("/" KV_DEMO_SIM_INSTALLED_RELATIVE_PATH),
            QStringLiteral(KV_DEMO_SIM_BUILD_PATH)};
}

std::unique_ptr<DemoSim> loadSim(const DemoSimConfig& config) {
    QStringList problems;
    for (const QString& path : simModuleCandidates()) {
        if (!QFileInfo::exists(path))
            continue;
        // Never unloaded: the simulator's threads run its code until the process ends.
        QLibrary module(path);
        const auto create = reinterpret_cast<CreateDemoSim>(module.resolve(kCreateDemoSimSymbol));
        if (create)
            return std::unique_ptr<DemoSim>(create(&config));
        problems.append(module.errorString());
    }
    if (problems.isEmpty())
        problems.append(QStringLiteral("not found at %1").arg(simModuleCandidates().join(u", ")));
    qWarning("The demo's simulator module could not be loaded: %s",
             qPrintable(problems.join(u"; ")));
    return nullptr;
}

} // namespace

std::unique_ptr<DemoService> DemoService::start(Options options) {
    auto sim = loadSim(options);
    if (!sim || sim->start() < 0)
        return nullptr;
    qputenv(Configuration::kApiUrlVariable, sim->baseUrl().toUtf8());
    return std::unique_ptr<DemoService>(new DemoService(std::move(sim)));
}

DemoService::DemoService(std::unique_ptr<DemoSim> sim) : m_sim(std::move(sim)) {}

DemoService::~DemoService() {
    m_sim->stop();
}

std::optional<QUrl> DemoService::callbackFor(const QUrl& signInPage) {
    const QString state = QUrlQuery(signInPage).queryItemValue(QStringLiteral("state"));
    if (!signInPage.path().endsWith(QStringLiteral("/oauth/device")) || state.isEmpty())
        return std::nullopt;
    QUrl callback(QStringLiteral("kestovar://callback"));
    QUrlQuery query;
    query.addQueryItem(QStringLiteral("code"), m_sim->approve(state));
    query.addQueryItem(QStringLiteral("state"), state);
    callback.setQuery(query);
    return callback;
}

QCoro::Task<ApiResult<SignInExchange>> DemoService::signIn(ApiClient& api) {
    const QString state = QUuid::createUuid().toString(QUuid::WithoutBraces);
    auto exchanged = co_await api.exchangeOAuthCode(m_sim->approve(state), state);
    if (exchanged)
        co_await m_credentials.save(exchanged->apiKey);
    co_return exchanged;
}

} // namespace kv
