// The screens loaded offscreen against a state fed by the simulated service:
// the sign-in screen's states, signing in, the console, the appearance
// toggle and the text size.

#include "Await.h"
#include "QmlRegistration.h"
#include "SimServer.h"
#include "platform/Browser.h"
#include "platform/CredentialStore.h"
#include "service/Configuration.h"
#include "state/AppState.h"

#include <QNetworkAccessManager>
#include <QQmlApplicationEngine>
#include <QQuickItem>
#include <QQuickWindow>
#include <QSettings>
#include <QTemporaryDir>
#include <QTest>
#include <QUrlQuery>
#include <QtQml/qqmlextensionplugin.h>

Q_IMPORT_QML_PLUGIN(KestovarPlugin)

using namespace kv;
using kv::test::await;

namespace {

struct RecordingBrowser final : Browser {
    QList<QUrl> opened;
    bool openUrl(const QUrl& url) override {
        opened.append(url);
        return true;
    }
};

} // namespace

class TestUi : public QObject {
    Q_OBJECT

    std::unique_ptr<sim::SimServer> sim;
    QNetworkAccessManager network;
    MemoryCredentialStore store;
    QTemporaryDir dir;
    std::unique_ptr<QSettings> settings;
    RecordingBrowser browser;
    std::unique_ptr<AppState> state;
    std::unique_ptr<QQmlApplicationEngine> engine;

    QQuickWindow* window() const {
        return qobject_cast<QQuickWindow*>(engine->rootObjects().value(0));
    }
    template <typename T = QQuickItem>
    T* find(const char* name) const {
        return window()->findChild<T*>(QString::fromLatin1(name));
    }
    void click(QObject* button) { QMetaObject::invokeMethod(button, "clicked"); }

private slots:
    void initTestCase() {
        sim = std::make_unique<sim::SimServer>();
        QVERIFY(sim->start() > 0);
        qputenv(Configuration::kApiUrlVariable, sim->baseUrl().toUtf8());
        settings = std::make_unique<QSettings>(dir.filePath("prefs.ini"), QSettings::IniFormat);
        AppState::Dependencies deps;
        deps.network = &network;
        deps.credentials = &store;
        deps.settings = settings.get();
        deps.browser = &browser;
        state = std::make_unique<AppState>(deps);
        registerQmlTypes(state.get());
        engine = std::make_unique<QQmlApplicationEngine>();
        engine->addImportPath("qrc:/");
        engine->load(QUrl("qrc:/Kestovar/qml/Main.qml"));
        QVERIFY(window());
        QCOMPARE(window()->title(), u"Kestovar"_qs);
        QCOMPARE(window()->minimumSize(), QSize(1100, 600));
        QCOMPARE(window()->size(), QSize(1280, 820));
        await(state->bootstrap());
    }

    void cleanupTestCase() {
        engine.reset();
        state.reset();
        sim.reset();
    }

    void signInScreen() {
        QTRY_VERIFY(find("signInView"));
        QObject* button = find<QObject>("signInButton");
        QCOMPARE(button->property("text").toString(), u"Sign in via browser"_qs);
        QVERIFY(button->property("enabled").toBool());
        QVERIFY(!find("cancelButton")->isVisible());

        click(button);
        QCOMPARE(state->authStatus(), AuthStatus::signingIn);
        QTRY_COMPARE(button->property("text").toString(), u"Waiting for browser…"_qs);
        QVERIFY(!button->property("enabled").toBool());
        QVERIFY(find("cancelButton")->isVisible());
        QCOMPARE(browser.opened.size(), 1);

        click(find<QObject>("cancelButton"));
        QCOMPARE(state->authStatus(), AuthStatus::signedOut);
        QTRY_COMPARE(button->property("text").toString(), u"Sign in via browser"_qs);

        QMetaObject::invokeMethod(find<QObject>("signUpLink"), "linkActivated",
                                  Q_ARG(QString, "signup"));
        QCOMPARE(browser.opened.last().toString(), sim->baseUrl() + "/signup");
    }

    void textSizeFollowsThePreference() {
        QQuickItem* title = find("signInTitle");
        QVERIFY(title);
        state->setFontSize(FontSizePreference::small);
        QTRY_COMPARE(title->property("font").value<QFont>().pixelSize(), 26);
        state->setFontSize(FontSizePreference::extraLarge);
        QTRY_COMPARE(title->property("font").value<QFont>().pixelSize(), qRound(26 * 1.48));
        state->setFontSize(FontSizePreference::normal);
    }

    void signingInShowsTheConsole() {
        click(find<QObject>("signInButton"));
        const QString token = QUrlQuery(browser.opened.last()).queryItemValue("state");
        await(state->handleIncomingURL(
            QUrl("kestovar://callback?code=" + sim->approve(token) + "&state=" + token)));
        QCOMPARE(state->authStatus(), AuthStatus::signedIn);
        QTRY_VERIFY(find("mainSplitView"));
        QTRY_COMPARE(find<QObject>("agentList")->property("count").toInt(), 7);
        QObject* title = find<QObject>("contentTitle");
        QCOMPARE(title->property("title").toString(), u"Inbox"_qs);
        state->setSelectedSection(AppSection::stats);
        QTRY_COMPARE(title->property("title").toString(), u"Stats"_qs);
    }

    void appearanceToggle() {
        QObject* toggle = find<QObject>("appearanceToggle");
        QVERIFY(toggle);
        state->setAppearance(AppearancePreference::light);
        QTRY_COMPARE(toggle->property("effectivelyDark").toBool(), false);
        click(toggle);
        QCOMPARE(state->appearance(), AppearancePreference::dark);
        QTRY_COMPARE(toggle->property("effectivelyDark").toBool(), true);
        click(toggle);
        QCOMPARE(state->appearance(), AppearancePreference::light); // never back to "system"

        // Following the system: the offscreen desktop's palette is light.
        state->setAppearance(AppearancePreference::system);
        QTRY_COMPARE(toggle->property("effectivelyDark").toBool(), false);
        click(toggle);
        QCOMPARE(state->appearance(), AppearancePreference::dark);
    }
};

QTEST_MAIN(TestUi)
#include "tst_ui.moc"
