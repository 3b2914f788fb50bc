#pragma once

// Browser sign-in: opens the service's sign-in page with a fresh state token
// and trades the one-time code of the callback URL for an API key. Only a
// callback that carries the token of a sign-in this user began (in this run
// or, within its validity, before a relaunch) is exchanged, and each token
// is used once.

#include "service/ApiClient.h"

#include <QObject>
#include <QUrl>

class QSettings;

namespace kv {

class Browser;

class SignInFlow : public QObject {
    Q_OBJECT
    Q_PROPERTY(bool pending READ isPending NOTIFY pendingChanged)

public:
    static constexpr char kStateKey[] = "KestovarMac.signIn.state";
    static constexpr char kStartedKey[] = "KestovarMac.signIn.startedAt";

    SignInFlow(ApiClient* api, QSettings* settings, Browser* browser, QObject* parent = nullptr);

    // A new token, remembered with its time, then the sign-in page in the browser.
    void begin();
    // Forgets the pending sign-in (the sign-in screen's Cancel).
    void cancel();
    // None when the URL is not a callback to act on; an error when the exchange failed.
    QCoro::Task<ApiResult<std::optional<SignInExchange>>> handle(QUrl url);

    // The token of the sign-in in progress, while it is still valid.
    std::optional<QString> expectedState() const;
    bool isPending() const { return expectedState().has_value(); }
    bool inFlight() const { return m_inFlight; }

    // The URL as it may be logged: the code and state values are replaced by "…".
    static QString redacted(const QUrl& url);

signals:
    void pendingChanged();

private:
    void forgetState();

    ApiClient* m_api;
    QSettings* m_settings;
    Browser* m_browser;
    bool m_inFlight = false;
};

} // namespace kv
