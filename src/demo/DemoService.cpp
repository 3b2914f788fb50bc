#include "DemoService.h"

#include "service/Configuration.h"

#include <QUrlQuery>
#include <QUuid>

namespace kv {

std::unique_ptr<DemoService> DemoService::start(Options options) {
    sim::SimConfig config;
    config.speed = options.speed;
    config.data.agents = options.agents;
    config.hostile = options.hostile;
    auto sim = std::make_unique<sim::SimServer>(config);
    if (sim->start() < 0)
        return nullptr;
    qputenv(Configuration::kApiUrlVariable, sim->baseUrl().toUtf8());
    return std::unique_ptr<DemoService>(new DemoService(std::move(sim)));
}

DemoService::DemoService(std::unique_ptr<sim::SimServer> sim) : m_sim(std::move(sim)) {}

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
