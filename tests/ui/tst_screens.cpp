// Live visitors, stats and settings through the real window against the
// simulated service: opening and closing agents' blocks, the visitor detail
// (copy link, open in inbox), the stats range served from the cache, a failed
// load and Retry, muting an agent, snippets through the editor (a refused save
// keeps the text), launch at login, the test notification against the
// session's notification server, the keyboard, and names for screen readers.

#include "Await.h"
#include "StatsModel.h"
#include "UiHarness.h"

#include <QAccessible>
#include <QClipboard>
#include <QGuiApplication>
#include <QIcon>
#include <QJsonDocument>
#include <QJsonObject>
#include <QQuickItem>
#include <QQuickWindow>
#include <QSignalSpy>
#include <QSysInfo>
#include <QTest>
#include <QtQml/qqmlextensionplugin.h>

Q_IMPORT_QML_PLUGIN(KestovarPlugin)

using namespace kv;
using kv::test::await;
using kv::test::UiHarness;

class TestScreens : public QObject {
    Q_OBJECT

    std::unique_ptr<UiHarness> ui;

    QQuickItem* find(const char* name) const { return ui->find(QString::fromLatin1(name)); }
    QList<QQuickItem*> shown(const char* name) const {
        return ui->visible(QString::fromLatin1(name));
    }
    QString textOf(const char* name) const { return UiHarness::text(find(name)); }
    QObject* model(const char* name) const { return ui->findObject(QString::fromLatin1(name)); }

    void press(const char* keys) {
        QTest::keySequence(ui->window(), QKeySequence(QString::fromLatin1(keys)));
    }
    void showTab(int index) {
        QTRY_VERIFY(find("settingsTabs"));
        find("settingsTabs")->setProperty("currentIndex", index);
    }
    // Types into a text field as the user would.
    void typeInto(const char* name, const QString& text) {
        QQuickItem* field = find(name);
        QVERIFY(field);
        field->forceActiveFocus();
        QMetaObject::invokeMethod(field, "selectAll");
        for (const QChar c : text)
            QTest::keyClick(ui->window(), c.toLatin1());
        QTRY_COMPARE(UiHarness::text(field), text);
    }
    // Rows of the visitor list that show a visitor (closed blocks keep an empty stand-in).
    int visitorRows() const {
        auto* rows = model("visitorsModel")->property("rows").value<QAbstractItemModel*>();
        const int standIn = rows->roleNames().key("standIn");
        int count = 0;
        for (int i = 0; i < rows->rowCount(); ++i)
            count += rows->index(i, 0).data(standIn).toBool() ? 0 : 1;
        return count;
    }
    int requests(const QString& method, const QString& prefix) const {
        return int(ui->requestsTo(prefix, method).size());
    }

private slots:
    void initTestCase() {
        sim::SimConfig config;
        config.data.visitors = 30;
        ui = std::make_unique<UiHarness>(config);
        QVERIFY(ui->load());
        QVERIFY(ui->signIn());
        ui->window()->requestActivate();
        QTRY_VERIFY(find("inboxView"));
    }

    void cleanupTestCase() { ui.reset(); }
    // Every binding held: no screen hid a script error behind a passing check.
    void cleanup() {
        const QStringList errors = ui->takeScriptErrors();
        QVERIFY2(errors.isEmpty(), qPrintable(errors.join(u'\n')));
    }

    void init() {
        ui->state().setSelectedProjectID(std::nullopt);
        ui->state().setSelectedSection(AppSection::inbox);
        QTRY_VERIFY(find("inboxView"));
    }

    void keysSwitchSections() {
        press("Ctrl+2");
        QTRY_VERIFY(find("liveVisitorsView"));
        press("Ctrl+3");
        QTRY_VERIFY(find("statsView"));
        press("Ctrl+4");
        QTRY_VERIFY(find("settingsView"));
        press("Ctrl+1");
        QTRY_VERIFY(find("inboxView"));
        QCOMPARE(ui->state().selectedSection(), AppSection::inbox);
        // Ctrl+, asks the shell for the settings window.
        QSignalSpy asked(DesktopServices::instance(), &DesktopServices::settingsRequested);
        press("Ctrl+,");
        QCOMPARE(asked.size(), 1);
    }

    void visitorsOpenAndClose() {
        ui->state().setSelectedSection(AppSection::visitors);
        QTRY_COMPARE(ui->state().liveVisitors().size(), 30);
        const auto groups = ui->state().visibleVisitorGroups();
        // Every block starts closed: headers only.
        QTRY_COMPARE(shown("visitorGroupHeader").size(), groups.size());
        QCOMPARE(visitorRows(), 0);
        const qreal closedHeight = find("visitorList")->property("contentHeight").toReal();
        QCOMPARE(textOf("contentSubtitle").startsWith("30 browsing"), true);

        // A header opens its block, and closes it again.
        QQuickItem* header = shown("visitorGroupHeader").first();
        QMetaObject::invokeMethod(header, "toggled");
        QTRY_COMPARE(visitorRows(), groups.first().visitors.size());
        QTRY_VERIFY(find("visitorList")->property("contentHeight").toReal() > closedHeight);
        QVERIFY(header->property("expanded").toBool());

        // "Expand all" opens every block; then it reads "Collapse all" and closes them.
        QObject* visitors = model("visitorsModel");
        QCOMPARE(visitors->property("toggleAllLabel").toString(), u"Expand all"_qs);
        QVERIFY(UiHarness::click(find("toggleAllButton")));
        QTRY_COMPARE(visitors->property("toggleAllLabel").toString(), u"Collapse all"_qs);
        QTRY_COMPARE(visitorRows(), 30);
        QVERIFY(UiHarness::click(find("toggleAllButton")));
        QTRY_COMPARE(visitorRows(), 0);
        QTRY_COMPARE(find("visitorList")->property("contentHeight").toReal(), closedHeight);

        // One agent: a flat list, no headers, no expand button.
        ui->state().setSelectedProjectID(groups.first().id);
        QTRY_COMPARE(visitorRows(), groups.first().visitors.size());
        QCOMPARE(shown("visitorGroupHeader").size(), 0);
        QVERIFY(!find("toggleAllButton")->isVisible());
    }

    // A refresh that fails keeps the visitors shown and says why above them;
    // with none shown, the empty state says why instead of "no one's browsing".
    void visitorsThatCannotBeLoadedSayWhy() {
        ui->state().setSelectedProjectID(u"p2"_qs);
        ui->state().setSelectedSection(AppSection::visitors);
        QTRY_VERIFY(visitorRows() > 0);
        const int before = visitorRows();
        sim::Fault refuse;
        refuse.path = "/api/v2/projects/p2/visitors/live";
        refuse.status = 503;
        refuse.body = "busy";
        ui->sim().addFault(refuse);
        await(ui->state().loadLiveVisitors(u"p2"_qs));
        QQuickItem* banner = find("visitorsLoadError");
        QTRY_VERIFY(banner->isVisible());
        QCOMPARE(UiHarness::accessibleName(banner), u"Couldn’t load visitors: HTTP 503: busy"_qs);
        QCOMPARE(QAccessible::queryAccessibleInterface(banner)->role(), QAccessible::AlertMessage);
        QCOMPARE(visitorRows(), before);
        QVERIFY(!find("visitorsEmpty")->isVisible());
        ui->sim().clearFaults();
        QVERIFY(UiHarness::click(find("visitorsLoadErrorRetry")));
        QTRY_VERIFY(!banner->isVisible());
        QCOMPARE(visitorRows(), before);

        // An agent with no one shown: the empty state carries the reason and Retry.
        ui->sim().addFault(refuse);
        ui->state().visitorStore().clear(); // as after a sign-out
        await(ui->state().loadLiveVisitors(u"p2"_qs));
        QTRY_VERIFY(find("visitorsEmpty")->isVisible());
        QCOMPARE(model("visitorsModel")->property("emptyTitle").toString(),
                 u"Couldn’t load visitors"_qs);
        QCOMPARE(model("visitorsModel")->property("emptyText").toString(), u"HTTP 503: busy"_qs);
        QVERIFY(!banner->isVisible()); // said once, not twice
        ui->sim().clearFaults();
        UiHarness::mouseClick(find("visitorsRetry"));
        QTRY_COMPARE(visitorRows(), before);
        QVERIFY(!find("visitorsEmpty")->isVisible());
    }

    void visitorDetailCopiesAndOpensTheInbox() {
        ui->state().setSelectedProjectID(u"p2"_qs);
        ui->state().setSelectedSection(AppSection::visitors);
        const int ofP2 = ui->sim().withData([](sim::SimData& d) {
            return int(
                std::count_if(d.visitors.begin(), d.visitors.end(),
                              [](const sim::SimVisitor& v) { return v.projectId == u"p2"; }));
        });
        QTRY_COMPARE(visitorRows(), ofP2);
        QVERIFY(!find("visitorDetailPanel")->property("exists").toBool());

        QQuickItem* row = shown("visitorRow").first();
        const QString visitorID = row->property("visitorID").toString();
        QMetaObject::invokeMethod(row, "clicked");
        QTRY_VERIFY(find("visitorDetailPanel")->property("exists").toBool());
        QCOMPARE(ui->state().selectedVisitorID(), visitorID);
        QTRY_VERIFY(row->property("selected").toBool());

        const QString page = textOf("detailPageURL");
        QVERIFY(page.startsWith("https://"));
        QGuiApplication::clipboard()->setText("something else");
        QTRY_VERIFY(find("copyLinkButton")->isVisible()); // the panel has slid in
        QVERIFY(UiHarness::click(find("copyLinkButton")));
        QCOMPARE(QGuiApplication::clipboard()->text(), page);

        QVERIFY(UiHarness::click(find("openInBrowserButton")));
        QCOMPARE(ui->browser().opened.last(), QUrl(page));

        QVERIFY(UiHarness::click(find("openInInboxButton")));
        QCOMPARE(ui->state().selectedSection(), AppSection::inbox);
        QCOMPARE(ui->state().selectedProjectID(), u"p2"_qs);
        QTRY_VERIFY(find("inboxView"));
    }

    void statsRangeCacheFailureAndRetry() {
        ui->state().setSelectedSection(AppSection::stats);
        QTRY_COMPARE(textOf("contentSubtitle"), u"Last 30 days"_qs);
        QVERIFY(find("kpiConversations")->property("value").toLongLong() > 0);
        // The chart arrives a moment after the figures, with both series.
        QTRY_VERIFY(find("statsChart"));
        QTRY_COMPARE(find("statsChart")->property("count").toInt(), 3); // area and two lines

        QVERIFY(UiHarness::click(find("range7d")));
        QTRY_COMPARE(textOf("contentSubtitle"), u"Last 7 days"_qs);
        const int asked = requests("GET", "/api/v2/stats");
        QVERIFY(UiHarness::click(find("range30d")));
        QCOMPARE(textOf("contentSubtitle"), u"Last 30 days"_qs); // from the cache, at once
        QCOMPARE(requests("GET", "/api/v2/stats"), asked);
        // The busiest agents and the days under the chart, each as its row says.
        const auto agents =
            qvariant_cast<QList<TopAgentRow>>(model("statsModel")->property("topAgents"));
        QVERIFY(!agents.isEmpty());
        QTRY_COMPARE(shown("topAgentRow").size(), agents.size());
        QCOMPARE(UiHarness::accessibleName(shown("topAgentRow").first()),
                 agents.first().name + ", " + agents.first().conversations + " conversations");
        QTRY_COMPARE(shown("axisLabel").size(), 10); // every third of 30 days
        const QList<QQuickItem*> days = shown("axisLabel");
        QVERIFY(!UiHarness::text(days.first()).isEmpty());
        QVERIFY(days[1]->x() > days[0]->x());

        sim::Fault refuse;
        refuse.path = "/api/v2/stats";
        refuse.status = 503;
        refuse.body = "busy";
        ui->sim().addFault(refuse);
        QVERIFY(UiHarness::click(find("range90d")));
        QTRY_COMPARE(textOf("contentSubtitle"), u"Couldn’t load stats"_qs);
        QQuickItem* retry = find("statsRetry");
        QVERIFY(retry->isVisible());
        // The reason shows above the figures, and screen readers hear it as an alert.
        QCOMPARE(model("statsModel")->property("error").toString(),
                 u"Couldn’t load stats: HTTP 503: busy"_qs);
        QQuickItem* banner = find("statsLoadError");
        QVERIFY(banner->isVisible());
        QCOMPARE(QAccessible::queryAccessibleInterface(banner)->role(), QAccessible::AlertMessage);
        QCOMPARE(QAccessible::queryAccessibleInterface(banner)->text(QAccessible::Name),
                 u"Couldn’t load stats: HTTP 503: busy"_qs);
        // No figure reads as a quiet week.
        QCOMPARE(find("kpiConversations")->property("value").toString(), u"—"_qs);
        ui->sim().clearFaults();
        QVERIFY(UiHarness::click(retry));
        QCOMPARE(textOf("contentSubtitle"), u"Loading…"_qs);
        QTRY_COMPARE(textOf("contentSubtitle"), u"Last 90 days"_qs);
        QVERIFY(!retry->isVisible());
        QVERIFY(UiHarness::click(find("range30d")));
    }

    void mutingAnAgentReachesTheService() {
        ui->state().setSelectedSection(AppSection::settings);
        showTab(1);
        QTRY_VERIFY(find("mute_p3Switch"));
        QVERIFY(!find("noServiceBanner")->isVisible()); // the session has a notification server
        QVERIFY(UiHarness::flip(find("mute_p3Switch")));
        QTRY_COMPARE(ui->requestsTo("/api/v2/notification-prefs", "PUT").size(), 1);
        const auto body =
            QJsonDocument::fromJson(ui->requestsTo("/api/v2/notification-prefs", "PUT")
                                        .first()["body"]
                                        .toString()
                                        .toUtf8())
                .object();
        QCOMPARE(body["project_id"].toString(), u"p3"_qs);
        QCOMPARE(body["muted"].toBool(), true);
        QTRY_VERIFY(ui->state().isProjectMuted("p3"));
        QVERIFY(find("mute_p3Switch")->property("checked").toBool());

        // A switch that is stored: off, and the manager honours it.
        QVERIFY(UiHarness::flip(find("notifyVisitorOnlineSwitch")));
        QCOMPARE(ui->settings().value(NotificationManager::kVisitorOnlineKey), QVariant(false));
        QVERIFY(UiHarness::flip(find("notifyVisitorOnlineSwitch")));
        QCOMPARE(ui->settings().value(NotificationManager::kVisitorOnlineKey), QVariant(true));
    }

    void testNotificationReachesTheSessionServer() {
        ui->state().setSelectedSection(AppSection::settings);
        showTab(1);
        QTRY_VERIFY(find("testNotificationButton"));
        QVERIFY(UiHarness::click(find("testNotificationButton")));
        QTRY_COMPARE(textOf("testResult"), u"Delivered"_qs);
        // This session's server has no inline reply: replies go to the quick-reply window.
        QCOMPARE(textOf("testReplyNote"),
                 u"Replies are typed in Kestovar's quick-reply window."_qs);
    }

    void snippetsThroughTheEditor() {
        ui->state().setSelectedProjectID(u"p4"_qs);
        ui->state().setSelectedSection(AppSection::settings);
        showTab(2);
        QObject* library = model("snippetLibrary");
        QTRY_COMPARE(library->property("projectID").toString(), u"p4"_qs); // the sidebar's agent
        QTRY_COMPARE(shown("snippetRow").size(), 3);

        // Create: the button stays off until the body holds more than spaces.
        QVERIFY(UiHarness::click(find("newSnippetButton")));
        QTRY_VERIFY(model("snippetEditor")->property("visible").toBool());
        QVERIFY(!find("snippetSave")->isEnabled());
        typeInto("snippetShortcutField", "hours");
        typeInto("snippetTitleField", "Opening hours");
        typeInto("snippetBodyField", "   ");
        QVERIFY(!find("snippetSave")->isEnabled());
        typeInto("snippetBodyField", "We open at nine.");
        QVERIFY(find("snippetSave")->isEnabled());
        QCOMPARE(textOf("snippetSave"), u"Create"_qs);
        QVERIFY(UiHarness::click(find("snippetSave")));
        QTRY_VERIFY(!model("snippetEditor")->property("visible").toBool());
        QTRY_COMPARE(shown("snippetRow").size(), 4);
        QCOMPARE(ui->requestsTo("/api/v2/projects/p4/snippets", "POST").size(), 1);

        // Edit the new one. Its row is looked up again before each use: a reload
        // makes the rows anew, and an old pointer may be gone or show another snippet.
        const auto hoursRow = [this] {
            QQuickItem* found = nullptr;
            for (QQuickItem* r : shown("snippetRow")) {
                if (r->property("shortcut").toString() == u"hours")
                    found = r;
            }
            return found;
        };
        QQuickItem* row = hoursRow();
        QVERIFY(row);
        const QString id = row->property("id").toString();
        for (QQuickItem* button : shown("editSnippet")) {
            if (row->isAncestorOf(button))
                QVERIFY(UiHarness::click(button));
        }
        QTRY_VERIFY(model("snippetEditor")->property("visible").toBool());
        QCOMPARE(textOf("snippetSave"), u"Save"_qs);
        QCOMPARE(textOf("snippetBodyField"), u"We open at nine."_qs);
        typeInto("snippetTitleField", "Hours");
        QVERIFY(UiHarness::click(find("snippetSave")));
        QTRY_VERIFY(!model("snippetEditor")->property("visible").toBool());
        QCOMPARE(ui->requestsTo("/api/v2/projects/p4/snippets/" + id, "PUT").size(), 1);

        // A refused save keeps the editor open, with the text and the reason.
        sim::Fault refuse;
        refuse.method = "POST";
        refuse.path = "/api/v2/projects/p4/snippets";
        refuse.status = 422;
        refuse.body = "shortcut taken";
        refuse.times = 1;
        ui->sim().addFault(refuse);
        QVERIFY(UiHarness::click(find("newSnippetButton")));
        QTRY_VERIFY(model("snippetEditor")->property("visible").toBool());
        QCOMPARE(textOf("snippetBodyField"), QString()); // a new editor starts empty
        typeInto("snippetBodyField", "A reply I took care over");
        QVERIFY(UiHarness::click(find("snippetSave")));
        QTRY_VERIFY(textOf("snippetSaveError").startsWith("Snippet not saved: "));
        QVERIFY(model("snippetEditor")->property("visible").toBool());
        QCOMPARE(textOf("snippetBodyField"), u"A reply I took care over"_qs);
        QVERIFY(UiHarness::click(find("snippetCancel")));
        QTRY_VERIFY(!model("snippetEditor")->property("visible").toBool());

        // Delete: the refused save changed nothing, so the rows stand as they were.
        QVERIFY(!library->property("loading").toBool());
        QTRY_VERIFY((row = hoursRow()));
        QCOMPARE(row->property("id").toString(), id);
        for (QQuickItem* button : shown("deleteSnippet")) {
            if (row->isAncestorOf(button))
                QVERIFY(UiHarness::click(button));
        }
        QTRY_COMPARE(shown("snippetRow").size(), 3);
        QCOMPARE(ui->requestsTo("/api/v2/projects/p4/snippets/" + id, "DELETE").size(), 1);
    }

    void accountTab() {
        ui->state().setSelectedSection(AppSection::settings);
        showTab(0);
        QTRY_VERIFY(find("launchAtLoginSwitch"));
        QCOMPARE(textOf("hostName"), QSysInfo::machineHostName());
        QCOMPARE(textOf("profileName"), ui->state().userName());
        QVERIFY(!find("launchAtLoginSwitch")->property("checked").toBool());
        QVERIFY(UiHarness::flip(find("launchAtLoginSwitch")));
        QVERIFY(ui->loginItem().isEnabled());
        QVERIFY(find("launchAtLoginSwitch")->property("checked").toBool());
        QVERIFY(UiHarness::flip(find("launchAtLoginSwitch")));
        QVERIFY(!ui->loginItem().isEnabled());

        // Inside the main window the About tab cannot check for updates.
        showTab(3);
        QTRY_VERIFY(find("checkForUpdates"));
        QVERIFY(!find("checkForUpdates")->isEnabled());
        QVERIFY(textOf("versionLine").startsWith("Version "));
        // Our own icon draws in the badge, and the tray's two variants load.
        QTRY_COMPARE(find("aboutBadge")->property("status").toInt(), 1); // Image.Ready
        for (const char* tray :
             {":/Kestovar/appicon/tray.svg", ":/Kestovar/appicon/tray-unread.svg"})
            QVERIFY(!QIcon(QString::fromLatin1(tray)).pixmap(22).isNull());
        QCOMPARE(textOf("productName"), u"Kestovar for Linux"_qs);
    }

    // Choosing what is already chosen keeps it shown as chosen, by the mouse and
    // by assistive technology: filters, ranges, appearance, text size, the menu.
    void choicesStaySelected() {
        const auto chooseTwice = [&](const char* name) {
            QTRY_VERIFY(find(name) && find(name)->isVisible());
            QQuickItem* choice = find(name);
            QVERIFY(UiHarness::click(choice));
            QTRY_VERIFY2(choice->property("checked").toBool(), name);
            QVERIFY(UiHarness::click(choice));
            QVERIFY2(choice->property("checked").toBool(), name);
            UiHarness::mouseClick(choice);
            QVERIFY2(choice->property("checked").toBool(), name);
        };
        chooseTwice("filterAll");
        ui->state().setSelectedSection(AppSection::stats);
        chooseTwice("range30d");
        QVERIFY(!find("range7d")->property("checked").toBool());
        ui->state().setSelectedSection(AppSection::settings);
        showTab(0);
        chooseTwice("appearanceDark");
        chooseTwice("textSizeDefault");
        QCOMPARE(ui->state().appearance(), AppearancePreference::dark);

        // The account menu's appearance entries.
        ui->state().setSelectedSection(AppSection::inbox);
        QTRY_VERIFY(find("accountMenuButton"));
        QVERIFY(UiHarness::click(find("accountMenuButton")));
        QTRY_VERIFY(model("accountMenu")->property("visible").toBool());
        const auto entry = [&](const QString& text) -> QQuickItem* {
            for (QQuickItem* item : ui->items()) {
                if (item->inherits("QQuickMenuItem") && item->isVisible() &&
                    UiHarness::text(item) == text)
                    return item;
            }
            return nullptr;
        };
        QTRY_VERIFY(entry(u"Appearance"_qs));
        QVERIFY(UiHarness::click(entry(u"Appearance"_qs))); // opens its submenu
        QTRY_VERIFY(entry(u"Dark"_qs));
        QQuickItem* dark = entry(u"Dark"_qs);
        QVERIFY(dark->property("checked").toBool());
        QVERIFY(UiHarness::click(dark)); // chosen again: still dark, and the menu goes
        QCOMPARE(ui->state().appearance(), AppearancePreference::dark);
        QTRY_VERIFY(!model("accountMenu"));
        // Opened again, its entries show the setting as it is now.
        ui->state().setAppearance(AppearancePreference::system);
        QVERIFY(UiHarness::click(find("accountMenuButton")));
        QTRY_VERIFY(entry(u"Appearance"_qs));
        QVERIFY(UiHarness::click(entry(u"Appearance"_qs)));
        QTRY_VERIFY(entry(u"Match system"_qs));
        QVERIFY(entry(u"Match system"_qs)->property("checked").toBool());
        QVERIFY(!entry(u"Dark"_qs)->property("checked").toBool());
        QMetaObject::invokeMethod(model("accountMenu"), "close");
        QTRY_VERIFY(!model("accountMenu"));
    }

    void everyControlIsNamed() {
        ui->state().setSelectedSection(AppSection::visitors);
        QTRY_VERIFY(!shown("visitorGroupHeader").isEmpty());
        QMetaObject::invokeMethod(model("visitorsModel"), "toggleAll");
        QTRY_VERIFY(!shown("visitorRow").isEmpty());
        QMetaObject::invokeMethod(shown("visitorRow").first(), "clicked");
        QTRY_VERIFY(find("visitorDetailPanel")->property("exists").toBool());
        QStringList unnamed = ui->unnamedControls();
        QVERIFY2(unnamed.isEmpty(), qPrintable("visitors: " + unnamed.join(", ")));

        ui->state().setSelectedSection(AppSection::stats);
        QTRY_VERIFY(find("statsChart"));
        unnamed = ui->unnamedControls();
        QVERIFY2(unnamed.isEmpty(), qPrintable("stats: " + unnamed.join(", ")));

        ui->state().setSelectedSection(AppSection::settings);
        const char* tabRoots[] = {"accountTab", "notificationsTab", "snippetsTab", "aboutTab"};
        for (int tab = 0; tab < 4; ++tab) {
            showTab(tab);
            // Each tab is built when first shown: look once it is there.
            QTRY_VERIFY(find(tabRoots[tab]) && find(tabRoots[tab])->isVisible());
            unnamed = ui->unnamedControls();
            QVERIFY2(unnamed.isEmpty(),
                     qPrintable(QStringLiteral("settings tab %1: ").arg(tab) + unnamed.join(", ")));
        }
        showTab(2);
        QTRY_VERIFY(find("newSnippetButton"));
        QVERIFY(UiHarness::click(find("newSnippetButton")));
        QTRY_VERIFY(model("snippetEditor")->property("visible").toBool());
        unnamed = ui->unnamedControls();
        QVERIFY2(unnamed.isEmpty(), qPrintable("snippet editor: " + unnamed.join(", ")));
        QVERIFY(UiHarness::click(find("snippetCancel")));
    }
};

QTEST_MAIN(TestScreens)
#include "tst_screens.moc"
