// Browser sign-in and the kestovar: links that reach the console.

#include "AppState.h"
#include "ProjectLink.h"

#include "Log.h"
#include "platform/Browser.h"
#include "platform/CredentialStore.h"
#include "service/Configuration.h"

#include <QPointer>

namespace kv {

namespace {

QString describe(const KeychainError& error) {
    if (error.kind == KeychainError::Kind::dataConversion)
        return QStringLiteral("The API key cannot be stored as UTF-8.");
    return error.message.isEmpty()
               ? QStringLiteral("The credential store refused the key (status %1).")
                     .arg(error.status)
               : error.message;
}

} // namespace

void AppState::beginSignIn() {
    m_signInFlow->begin();
    m_session->setStatus(AuthStatus::signingIn);
}

void AppState::cancelSignIn() {
    m_signInFlow->cancel();
    m_session->setStatus(AuthStatus::signedOut);
}

void AppState::openWebPage(const QString& path) {
    if (!m_deps.browser)
        return;
    const QUrl base = Configuration::baseURL();
    m_deps.browser->openUrl(QUrl(base.toString(QUrl::FullyEncoded) + path));
}

void AppState::openInBrowser(const QUrl& url) {
    if (m_deps.browser)
        m_deps.browser->openUrl(url);
}

QCoro::Task<> AppState::handleIncomingURL(QUrl url) {
    if (const auto link = projectLinkFrom(url)) {
        co_await navigate(link->projectID, link->conversationID);
        co_return;
    }
    co_await handleDeepLink(url);
}

QCoro::Task<> AppState::handleDeepLink(QUrl url) {
    QPointer guard(this);
    qCInfo(lcAppState).noquote()
        << QStringLiteral("handleDeepLink: %1").arg(SignInFlow::redacted(url));
    if (m_session->signedIn()) {
        qCInfo(lcAppState).noquote() << "handleDeepLink: already signed in — ignoring";
        co_return;
    }
    if (m_session->status() != AuthStatus::signingIn)
        m_session->setStatus(AuthStatus::signingIn);

    auto fail = [this](const QString& description) {
        qCWarning(lcAppState).noquote()
            << QStringLiteral("handleDeepLink: failed — %1").arg(description);
        m_session->setStatus(AuthStatus::signedOut);
        m_session->setLoadState(LoadState::failed, description);
    };

    auto handled = co_await m_signInFlow->handle(url);
    if (!guard)
        co_return;
    if (!handled) {
        fail(handled.error().errorDescription());
        co_return;
    }
    if (!handled.value()) {
        qCInfo(lcAppState).noquote()
            << "handleDeepLink: signInFlow.handle returned nil (state mismatch or in-flight)";
        co_return;
    }
    const SignInExchange exchange = *handled.value();
    qCInfo(lcAppState).noquote() << QStringLiteral("handleDeepLink: exchange succeeded for user=%1")
                                        .arg(exchange.user.email);
    if (const auto error = co_await m_deps.credentials->save(exchange.apiKey)) {
        if (guard)
            fail(describe(*error));
        co_return;
    }
    if (!guard)
        co_return;
    m_keyRead = true; // the key in the client is the one just stored
    m_api->setApiKey(exchange.apiKey);
    m_session->setStatus(AuthStatus::signedIn, exchange.user);

    auto top = co_await refreshTopLevel();
    if (!guard)
        co_return;
    if (!top) {
        fail(top.error().errorDescription());
        co_return;
    }
    if (m_session->loadState() != LoadState::loaded)
        m_session->setLoadState(LoadState::loaded);
    co_await startSignedInServices();
    if (guard)
        qCInfo(lcAppState).noquote() << "handleDeepLink: signed in and top-level loaded";
}

} // namespace kv
