#include "SignInFlow.h"

#include "Log.h"
#include "Timing.h"
#include "platform/Browser.h"
#include "service/Configuration.h"

#include <QDateTime>
#include <QSettings>
#include <QUrlQuery>
#include <QUuid>

namespace kv {

SignInFlow::SignInFlow(ApiClient* api, QSettings* settings, Browser* browser, QObject* parent)
    : QObject(parent), m_api(api), m_settings(settings), m_browser(browser) {}

void SignInFlow::begin() {
    const QString token = QUuid::createUuid().toString(QUuid::WithoutBraces).toUpper();
    m_settings->setValue(kStateKey, token);
    m_settings->setValue(kStartedKey, QDateTime::currentMSecsSinceEpoch());
    m_settings->sync();
    emit pendingChanged();
    if (m_browser)
        m_browser->openUrl(Configuration::signInURL(token));
}

void SignInFlow::cancel() {
    forgetState();
    m_inFlight = false;
}

void SignInFlow::forgetState() {
    const bool had = m_settings->contains(kStateKey);
    m_settings->remove(kStateKey);
    m_settings->remove(kStartedKey);
    m_settings->sync();
    if (had)
        emit pendingChanged();
}

std::optional<QString> SignInFlow::expectedState() const {
    const QString token = m_settings->value(kStateKey).toString();
    if (token.isEmpty())
        return std::nullopt;
    bool ok = false;
    const qint64 started = m_settings->value(kStartedKey).toLongLong(&ok);
    const qint64 age = QDateTime::currentMSecsSinceEpoch() - started;
    if (!ok || age < 0 || age > Timing::current().signInValidity.count())
        return std::nullopt;
    return token;
}

QString SignInFlow::redacted(const QUrl& url) {
    if (!url.hasQuery())
        return url.toString();
    QUrlQuery query(url);
    QList<QPair<QString, QString>> items = query.queryItems(QUrl::FullyEncoded);
    for (auto& [name, value] : items) {
        if (name == u"code" || name == u"state")
            value = QStringLiteral("…");
    }
    query.setQueryItems(items);
    QUrl shown = url;
    shown.setQuery(query);
    return shown.toString();
}

QCoro::Task<ApiResult<std::optional<SignInExchange>>> SignInFlow::handle(QUrl url) {
    using Result = ApiResult<std::optional<SignInExchange>>;
    const QString scheme = url.scheme();
    const QString host = url.host();
    qCInfo(lcSignInFlow).noquote()
        << QStringLiteral("handle: %1 (scheme=%2, host=%3)")
               .arg(redacted(url), scheme.isEmpty() ? QStringLiteral("nil") : scheme,
                    host.isEmpty() ? QStringLiteral("nil") : host);
    if (scheme.toLower() != u"kestovar") {
        qCInfo(lcSignInFlow).noquote() << "handle: ignoring — scheme is not kestovar";
        co_return Result(std::nullopt);
    }
    if (host.toLower() != u"callback") {
        qCInfo(lcSignInFlow).noquote() << "handle: ignoring — host is not callback";
        co_return Result(std::nullopt);
    }
    if (m_inFlight) {
        qCInfo(lcSignInFlow).noquote() << "handle: ignoring — already in flight";
        co_return Result(std::nullopt);
    }
    const QUrlQuery query(url);
    const QString code = query.queryItemValue(QStringLiteral("code"), QUrl::FullyDecoded);
    const QString state = query.queryItemValue(QStringLiteral("state"), QUrl::FullyDecoded);
    if (code.isEmpty()) {
        qCWarning(lcSignInFlow).noquote() << "handle: empty code in callback URL";
        co_return ApiError::of(ApiError::Kind::invalidCallback);
    }
    // Only a sign-in this user began is finished: a callback nobody asked for
    // could otherwise sign the console into someone else's account.
    const auto expected = expectedState();
    if (!expected || *expected != state) {
        qCWarning(lcSignInFlow).noquote()
            << QStringLiteral("handle: state mismatch (expected=%1, got=%2)")
                   .arg(expected.value_or(QStringLiteral("nil")), state);
        co_return Result(std::nullopt);
    }

    m_inFlight = true;
    qCInfo(lcSignInFlow).noquote() << "handle: calling /oauth/device/exchange…";
    auto exchanged = co_await m_api->exchangeOAuthCode(code, state);
    m_inFlight = false;
    forgetState(); // a token is used once
    if (!exchanged)
        co_return exchanged.error();
    qCInfo(lcSignInFlow).noquote() << "handle: exchange OK";
    co_return Result(std::optional<SignInExchange>(std::move(exchanged).value()));
}

} // namespace kv
