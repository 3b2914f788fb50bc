// The screens loaded offscreen against a state fed by the simulated service:
// the sign-in screen's states, signing in, the console, the appearance
// toggle and the text size.

#include "Await.h"
#include "LogCapture.h"
#include "TextScale.h"
#include "UiHarness.h"

#include <QJsonObject>
#include <QQmlComponent>
#include <QQuickItem>
#include <QQuickWindow>
#include <QTest>
#include <QUrlQuery>
#include <QtQml/qqmlextensionplugin.h>
#include <cmath>
#include <memory>

Q_IMPORT_QML_PLUGIN(KestovarPlugin)

using namespace kv;
using kv::test::await;

class TestUi : public QObject {
    Q_OBJECT

    std::unique_ptr<test::UiHarness> ui;

    QQuickWindow* window() const { return ui->window(); }
    template <typename T = QQuickItem>
    T* find(const char* name) const {
        return window()->findChild<T*>(QString::fromLatin1(name));
    }
    bool click(QObject* button) { return test::UiHarness::click(button); }

private slots:
    void initTestCase() {
        ui = std::make_unique<test::UiHarness>();
        QVERIFY(ui->load());
        QCOMPARE(window()->title(), u"Kestovar"_qs);
        QCOMPARE(window()->minimumSize(), QSize(1100, 600));
        QCOMPARE(window()->size(), QSize(1280, 820));
    }

    void cleanupTestCase() { ui.reset(); }
    // Every binding held: no screen hid a script error behind a passing check.
    void cleanup() {
        const QStringList errors = ui->takeScriptErrors();
        QVERIFY2(errors.isEmpty(), qPrintable(errors.join(u'\n')));
    }

    void signInScreen() {
        QTRY_VERIFY(find("signInView"));
        QObject* button = find<QObject>("signInButton");
        QCOMPARE(button->property("text").toString(), u"Sign in via browser"_qs);
        QVERIFY(button->property("enabled").toBool());
        QVERIFY(!find("cancelButton")->isVisible());

        QVERIFY(click(button));
        QCOMPARE(ui->state().authStatus(), AuthStatus::signingIn);
        QTRY_COMPARE(button->property("text").toString(), u"Waiting for browser…"_qs);
        QVERIFY(!button->property("enabled").toBool());
        QVERIFY(find("cancelButton")->isVisible());
        QCOMPARE(ui->browser().opened.size(), 1);

        QVERIFY(click(find<QObject>("cancelButton")));
        QCOMPARE(ui->state().authStatus(), AuthStatus::signedOut);
        QTRY_COMPARE(button->property("text").toString(), u"Sign in via browser"_qs);

        QVERIFY(click(find<QObject>("signUpLink")));
        QCOMPARE(ui->browser().opened.last().toString(), ui->sim().baseUrl() + "/signup");
    }

    void textSizeFollowsThePreference() {
        QQuickItem* title = find("signInTitle");
        QVERIFY(title);
        // In the design's points (a logical pixel each), never rounded: 26 × 1.48 = 38.48.
        const auto size = [&] {
            return title->property("font").value<QFont>().pointSizeF() /
                   kv::TextScale::pointsPerPixel();
        };
        ui->state().setFontSize(FontSizePreference::small);
        QTRY_VERIFY(qFuzzyCompare(size(), 26.0));
        ui->state().setFontSize(FontSizePreference::extraLarge);
        QTRY_VERIFY(qFuzzyCompare(size(), 26 * 1.48));
        ui->state().setFontSize(FontSizePreference::normal);
        QTRY_VERIFY(qFuzzyCompare(size(), 26 * 1.15));
    }

    void signingInShowsTheConsole() {
        QVERIFY(click(find<QObject>("signInButton")));
        const QString token = QUrlQuery(ui->browser().opened.last()).queryItemValue("state");
        await(ui->state().handleIncomingURL(
            QUrl("kestovar://callback?code=" + ui->sim().approve(token) + "&state=" + token)));
        QCOMPARE(ui->state().authStatus(), AuthStatus::signedIn);
        QTRY_VERIFY(find("mainSplitView"));
        QTRY_COMPARE(find<QObject>("projectList")->property("count").toInt(), 7);
        QTRY_COMPARE(test::UiHarness::text(find<QObject>("contentTitle")), u"Inbox"_qs);
        ui->state().setSelectedSection(AppSection::stats);
        QTRY_COMPARE(test::UiHarness::text(find<QObject>("contentTitle")), u"Insights"_qs);
        ui->state().setSelectedSection(AppSection::inbox);
    }

    void components() {
        auto make = [&](const char* file, const QVariantMap& properties) {
            QQmlComponent component(
                &ui->engine(), QUrl(QStringLiteral("qrc:/Kestovar/common/components/") + file));
            QObject* object = component.createWithInitialProperties(properties);
            if (!object)
                qWarning() << component.errors();
            return std::unique_ptr<QObject>(object);
        };
        auto badge = make("UnreadBadge.qml", {{"count", 0}});
        QVERIFY(!badge->property("visible").toBool());
        badge->setProperty("count", 1234); // no cap
        QVERIFY(badge->property("visible").toBool());
        QCOMPARE(badge->findChildren<QObject*>().first()->property("text").toString(), u"1234"_qs);

        auto dot = make("OnlineDot.qml", {{"count", 0}});
        QVERIFY(!dot->property("visible").toBool());
        dot->setProperty("count", 3);
        QVERIFY(dot->property("visible").toBool());

        const QList<std::pair<ConversationStatus, QString>> pills{
            {ConversationStatus::waiting, "Needs reply"},
            {ConversationStatus::active, "Active"},
            {ConversationStatus::operatorActive, "You're chatting"},
            {ConversationStatus::resolved, "Resolved"}};
        for (const auto& [status, text] : pills) {
            auto pill = make("StatusPill.qml", {{"status", int(status)}});
            QCOMPARE(pill->findChildren<QObject*>().first()->property("text").toString(), text);
        }

        auto flag = make("CountryFlag.qml", {{"code", "dk"}});
        QCOMPARE(flag->property("text").toString(), u"🇩🇰"_qs);
        auto unknown = make("CountryFlag.qml", {});
        QCOMPARE(unknown->property("text").toString(), u"🌐"_qs);

        // A logo that cannot load shows the tile: initials on the agent's colour, else the default.
        auto logo = make("AgentLogoIcon.qml", {{"projectName", "harbor & vine"},
                                               {"colorHex", "#8E2C48"},
                                               {"logoURL", QUrl("http://127.0.0.1:9/x.png")}});
        auto* tile = logo->findChildren<QQuickItem*>().value(0);
        QVERIFY(tile);
        QCOMPARE(tile->property("color").value<QColor>(), QColor("#8E2C48"));
        QCOMPARE(tile->findChildren<QObject*>().first()->property("text").toString(), u"HA"_qs);
        auto plain =
            make("AgentLogoIcon.qml", {{"projectName", "Solmar"}, {"colorHex", "nonsense"}});
        QCOMPARE(plain->findChildren<QQuickItem*>().value(0)->property("color").value<QColor>(),
                 QColor("#6366F1"));
        auto emoji = make("AgentLogoIcon.qml", {{"emoji", "🎧"}});
        QCOMPARE(emoji->findChildren<QQuickItem*>()
                     .value(0)
                     ->findChildren<QObject*>()
                     .first()
                     ->property("text")
                     .toString(),
                 u"🎧"_qs);
    }

    void quickReply() {
        await(ui->state().loadConversations(u"p1"_qs));
        const Conversation target = ui->state().conversations().first();
        QQmlComponent component(&ui->engine(), QUrl("qrc:/Kestovar/shell/QuickReplyWindow.qml"));
        std::unique_ptr<QObject> window(
            component.createWithInitialProperties({{"projectID", "p1"},
                                                   {"conversationID", target.id},
                                                   {"projectName", "Northwind Support"}}));
        QVERIFY(window);
        window->setProperty("visible", true);
        QObject* field = window->findChild<QObject*>("quickReplyField");
        QObject* send = window->findChild<QObject*>("quickReplySend");
        QObject* failure = window->findChild<QObject*>("quickReplyFailure");
        field->setProperty("text", "   ");
        QVERIFY(!send->property("enabled").toBool()); // nothing to send

        // The service refuses: the window stays, with the text and the reason.
        sim::Fault refuse;
        refuse.method = "POST";
        refuse.path = "/api/v2/projects/p1/conversations/" + target.id + "/send";
        refuse.status = 500;
        refuse.body = "nope";
        refuse.times = 1;
        ui->sim().addFault(refuse);
        field->setProperty("text", "  On my way  ");
        QVERIFY(click(send));
        QTRY_COMPARE(failure->property("text").toString(), u"Reply not sent: HTTP 500: nope"_qs);
        QVERIFY(window->property("visible").toBool());
        QCOMPARE(field->property("text").toString(), u"  On my way  "_qs);

        // Sent again: the service has it, and the window goes.
        ui->sim().clearRequests();
        QVERIFY(click(send));
        QTRY_VERIFY(!window->property("visible").toBool());
        QCOMPARE(ui->sim().requests().first().toObject()["target"].toString(), refuse.path);
        QVERIFY(
            ui->sim().requests().first().toObject()["body"].toString().contains("\"On my way\""));
    }

    // Each status pill reads when the window is dark: its text against its own
    // tint, over each surface a pill sits on. (The brand's dark blue, once the
    // operator's status colour, all but vanished there.)
    // Each status's text on its pill, light and dark, over every ground a pill
    // sits on: at least the 4.5:1 that small text needs.
    void statusPillsRead() {
        QQmlComponent component(&ui->engine());
        component.setData(R"(import QtQuick
import Kestovar
QtObject {
    readonly property var statuses: [ConversationStatus.Waiting, ConversationStatus.Active,
                                     ConversationStatus.OperatorActive, ConversationStatus.Resolved]
    function tones() { return statuses.map(s => "" + Theme.statusColor(s)) }
    function inks() { return statuses.map(s => "" + Theme.statusInk(s)) }
    function grounds() { return ["" + Theme.window, "" + Theme.surface, "" + Theme.sidebar] }
})",
                          QUrl());
        std::unique_ptr<QObject> palette(component.create());
        QVERIFY2(palette, qPrintable(component.errorString()));
        const auto call = [&](const char* function) {
            QVariant out;
            QMetaObject::invokeMethod(palette.get(), function, Q_RETURN_ARG(QVariant, out));
            return out.toStringList();
        };
        // The relative luminance and contrast ratio of the accessibility guidelines.
        const auto luminance = [](const QColor& c) {
            const auto channel = [](double v) {
                return v <= 0.04045 ? v / 12.92 : std::pow((v + 0.055) / 1.055, 2.4);
            };
            return 0.2126 * channel(c.redF()) + 0.7152 * channel(c.greenF()) +
                   0.0722 * channel(c.blueF());
        };
        for (const auto appearance : {AppearancePreference::light, AppearancePreference::dark}) {
            ui->state().setAppearance(appearance);
            const QStringList tones = call("tones"), inks = call("inks");
            QCOMPARE(tones.size(), 4);
            QCOMPARE(inks.size(), 4);
            for (const QString& ground : call("grounds")) {
                for (qsizetype i = 0; i < tones.size(); ++i) {
                    const QColor tone(tones[i]), ink(inks[i]), under(ground);
                    const QColor tint =
                        QColor::fromRgbF(0.12f * tone.redF() + 0.88f * under.redF(),
                                         0.12f * tone.greenF() + 0.88f * under.greenF(),
                                         0.12f * tone.blueF() + 0.88f * under.blueF());
                    const double a = luminance(ink), b = luminance(tint);
                    const double ratio = (std::max(a, b) + 0.05) / (std::min(a, b) + 0.05);
                    QVERIFY2(ratio >= 4.5, qPrintable(u"%1 on the tint of %2 over %3: %4:1"_qs
                                                          .arg(inks[i], tones[i], ground)
                                                          .arg(ratio, 0, 'f', 2)));
                }
            }
        }
        ui->state().setAppearance(AppearancePreference::light);
    }

    void appearanceToggle() {
        QObject* toggle = find<QObject>("appearanceToggle");
        QVERIFY(toggle);
        ui->state().setAppearance(AppearancePreference::light);
        QTRY_COMPARE(toggle->property("effectivelyDark").toBool(), false);
        QVERIFY(click(toggle));
        QCOMPARE(ui->state().appearance(), AppearancePreference::dark);
        QTRY_COMPARE(toggle->property("effectivelyDark").toBool(), true);
        QVERIFY(click(toggle));
        QCOMPARE(ui->state().appearance(), AppearancePreference::light); // never back to "system"

        // Following the system: the offscreen desktop's palette is light.
        ui->state().setAppearance(AppearancePreference::system);
        QTRY_COMPARE(toggle->property("effectivelyDark").toBool(), false);
        QVERIFY(click(toggle));
        QCOMPARE(ui->state().appearance(), AppearancePreference::dark);
    }

    // Signing out from an open chat: the screens let go of the agent and the
    // chat without asking the service again, so no load fails and no error
    // waits for the next operator.
    void signingOutStartsNoLoad() {
        ui->state().setSelectedSection(AppSection::inbox);
        ui->state().setSelectedProjectID(u"p1"_qs);
        QTRY_VERIFY(!ui->state().conversations().isEmpty());
        ui->state().setSelectedConversationID(ui->state().conversations().first().id);
        QTRY_VERIFY(find("messageList"));

        test::LogCapture log;
        ui->state().signOut();
        QTRY_VERIFY(find("signInView"));
        QTRY_VERIFY(find("signInView")->isVisible());
        for (const test::LogLine& line : log.lines())
            QVERIFY2(!line.message.contains("failed"), qPrintable(line.message));
        QVERIFY(ui->state().conversationsError().isEmpty());
        QVERIFY(ui->state().loadError().isEmpty());
    }
};

QTEST_MAIN(TestUi)
#include "tst_ui.moc"
