// Signing in through the browser: the callback the browser brings back,
// callbacks nobody asked for or that are malformed, a sign-in that survives a
// relaunch, and the console's own links to an agent's conversation.

#include "AppStateWorld.h"
#include "Await.h"
#include "LogCapture.h"

#include <QTest>

using namespace kv;
using kv::test::await;

class TestSignInFlow : public kv::test::AppStateWorld {
    Q_OBJECT

private slots:
    void browserSignIn() {
        test::LogCapture log;
        state->beginSignIn();
        QCOMPARE(state->authStatus(), AuthStatus::signingIn);
        QVERIFY(state->signInPending());
        QCOMPARE(browser.opened.size(), 1);
        const QString token = pendingToken();
        QCOMPARE(token.size(), 36);
        QCOMPARE(token, token.toUpper());
        QCOMPARE(browser.opened.last().toString(QUrl::FullyEncoded),
                 sim->baseUrl() + "/oauth/device?app=mac&state=" + token);

        const QString code = sim->approve(token);
        QUrl url = callback(code, token);
        url.setScheme("KESTOVAR");
        url.setHost("CallBack"); // scheme and host ignore case
        await(state->handleIncomingURL(url));
        QCOMPARE(state->authStatus(), AuthStatus::signedIn);
        QCOMPARE(state->loadState(), LoadState::loaded);
        QVERIFY(await(store->read())->startsWith("kv_"));
        QCOMPARE(state->projects().size(), 7);
        QTRY_COMPARE(sim->openStreams(), 1);
        QVERIFY(!state->signInPending());

        const QStringList signIn = log.messages("SignInFlow");
        QVERIFY(!signIn.join('\n').contains(code)); // the code never reaches the log
        QVERIFY(!signIn.join('\n').contains(token));
        QCOMPARE(signIn.first(),
                 u"handle: KESTOVAR://callback?code=…&state=… (scheme=kestovar, host=callback)"_qs
                     .replace("KESTOVAR://callback", url.toString().section('?', 0, 0)));
        QVERIFY(log.messages("AppState")
                    .contains(u"handleDeepLink: signed in and top-level loaded"_qs));

        // Signed in: any callback is ignored.
        await(state->handleIncomingURL(callback(code, token)));
        QVERIFY(
            log.messages("AppState").contains(u"handleDeepLink: already signed in — ignoring"_qs));

        // The token was used once: after signing out, the same callback does nothing.
        state->signOut();
        sim->clearRequests();
        await(state->handleIncomingURL(callback(sim->approve(token), token)));
        QCOMPARE(state->authStatus(), AuthStatus::signingIn);
        QCOMPARE(requestsTo("/oauth/device/exchange", "POST"), 0);
    }

    void unsolicitedCallbacksAreIgnored() {
        test::LogCapture log;
        // Nothing begun: no exchange.
        await(state->handleIncomingURL(callback(sim->approve("X"), "X")));
        QCOMPARE(state->authStatus(), AuthStatus::signingIn);
        QVERIFY(log.messages("SignInFlow")
                    .contains(u"handle: state mismatch (expected=nil, got=X)"_qs));

        // Begun, but another token.
        state->beginSignIn();
        const QString token = pendingToken();
        await(state->handleIncomingURL(callback(sim->approve("other"), "other")));
        QCOMPARE(state->authStatus(), AuthStatus::signingIn);
        QVERIFY(
            log.messages("SignInFlow")
                .contains(
                    QStringLiteral("handle: state mismatch (expected=%1, got=other)").arg(token)));

        // Begun too long ago.
        settings->setValue(SignInFlow::kStartedKey,
                           QDateTime::currentMSecsSinceEpoch() - 16 * 60'000);
        await(state->handleIncomingURL(callback(sim->approve(token), token)));
        QCOMPARE(state->authStatus(), AuthStatus::signingIn);
        QCOMPARE(requestsTo("/oauth/device/exchange", "POST"), 0);

        // Cancel goes back to the sign-in screen.
        state->cancelSignIn();
        QCOMPARE(state->authStatus(), AuthStatus::signedOut);
        QVERIFY(!state->signInPending());
    }

    void signInSurvivesARelaunch() {
        state->beginSignIn();
        const QString token = pendingToken();
        makeState(); // the console was quit and started again
        await(state->bootstrap());
        QCOMPARE(state->authStatus(), AuthStatus::signedOut);
        await(state->handleIncomingURL(callback(sim->approve(token), token)));
        QCOMPARE(state->authStatus(), AuthStatus::signedIn);
    }

    void badCallbacks() {
        state->beginSignIn();
        const QString token = pendingToken();
        // "Code" is not "code".
        await(state->handleIncomingURL(QUrl("kestovar://callback?Code=abc&state=" + token)));
        QCOMPARE(state->authStatus(), AuthStatus::signedOut);
        QCOMPARE(state->loadError(), u"Invalid sign-in response from the browser."_qs);

        // A code the service does not know.
        state->beginSignIn();
        const QString again = pendingToken();
        await(state->handleIncomingURL(callback("forged", again)));
        QCOMPARE(state->authStatus(), AuthStatus::signedOut);
        QCOMPARE(state->loadError(), u"Your session expired — please sign in again."_qs);

        // Neither a callback nor a project link: waits in signing-in.
        await(state->handleIncomingURL(QUrl("kestovar://settings")));
        QCOMPARE(state->authStatus(), AuthStatus::signingIn);
        await(state->handleIncomingURL(QUrl("kestovar://project")));
        QCOMPARE(state->authStatus(), AuthStatus::signingIn);
    }

    void projectLinksNavigate() {
        signedInState();
        const QString chat = sim->withData([](sim::SimData& d) {
            for (const auto& c : d.conversations) {
                if (c.projectId == u"p2")
                    return c.id;
            }
            return QString();
        });
        state->setSelectedSection(AppSection::stats);
        await(state->handleIncomingURL(QUrl("kestovar://project/p2/chat/" + chat)));
        QCOMPARE(state->selectedSection(), AppSection::inbox);
        QCOMPARE(state->selectedProjectID(), std::optional<QString>(u"p2"_qs));
        QCOMPARE(state->selectedConversationID(), std::optional(chat));
        QVERIFY(!state->messages(chat).isEmpty());

        await(state->handleIncomingURL(QUrl("kestovar://project/p3")));
        QCOMPARE(state->selectedProjectID(), std::optional<QString>(u"p3"_qs));

        await(state->handleIncomingURL(QUrl("kestovar://project/p1/other/" + chat)));
        QCOMPARE(state->selectedProjectID(), std::optional<QString>(u"p1"_qs));
        QCOMPARE(state->selectedConversationID(), state->conversations().first().id);

        // Identifiers that would leave their path segment never reach the service.
        sim->clearRequests();
        await(state->handleIncomingURL(QUrl("kestovar://project/%2E%2E/chat/x")));
        await(state->handleIncomingURL(QUrl("kestovar://project/%252e%252e")));
        // (The open conversation's own fetches may still arrive: none names a dot.)
        for (const QJsonValue& r : sim->requests()) {
            const QString target = r.toObject()["target"].toString().toLower();
            QVERIFY2(!target.contains("..") && !target.contains("%2e"), qPrintable(target));
        }
    }
};

QTEST_GUILESS_MAIN(TestSignInFlow)
#include "tst_signinflow.moc"
