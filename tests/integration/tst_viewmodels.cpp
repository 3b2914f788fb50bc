// The screens' view-models over a state fed by the simulated service, without
// a window: their lists are sound models that update in place, and what they
// start (sends, links, translations, snippets, mutes) reaches the service or
// the browser as it should.

#include "AccountSettings.h"
#include "Await.h"
#include "Composer.h"
#include "DesktopServices.h"
#include "DraftStore.h"
#include "FreedesktopNotifier.h"
#include "InboxModel.h"
#include "LiveVisitorsModel.h"
#include "LoginItem.h"
#include "MessageRows.h"
#include "NotificationSettings.h"
#include "RecordingBrowser.h"
#include "SidebarModel.h"
#include "SimServer.h"
#include "SnippetLibrary.h"
#include "StatsModel.h"
#include "ThreadController.h"
#include "TypedPreferences.h"
#include "VisitorContext.h"
#include "VisitorDetail.h"
#include "notifications/NotificationManager.h"
#include "platform/CredentialStore.h"
#include "service/Configuration.h"
#include "state/AppState.h"

#include <QAbstractItemModelTester>
#include <QClipboard>
#include <QGuiApplication>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QNetworkAccessManager>
#include <QSettings>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>

using namespace kv;
using kv::test::await;

class TestViewModels : public QObject {
    Q_OBJECT

    std::unique_ptr<sim::SimServer> sim;
    std::unique_ptr<QNetworkAccessManager> network;
    MemoryCredentialStore store;
    QTemporaryDir dir;
    std::unique_ptr<QSettings> settings;
    test::RecordingBrowser browser;
    std::unique_ptr<AppState> state;

    QString firstWith(ConversationStatus status) const {
        for (const Conversation& c : state->conversations()) {
            if (c.status == status)
                return c.id;
        }
        return QString();
    }

    // Requests the service received: "METHOD path" (query left out), in order.
    QStringList received() const {
        QStringList out;
        for (const QJsonValue& r : sim->requests())
            out.append(r["method"].toString() + u' ' + r["path"].toString());
        return out;
    }
    QList<QJsonObject> bodiesOf(const QString& method, const QString& path) const {
        QList<QJsonObject> out;
        for (const QJsonValue& r : sim->requests()) {
            if (r["method"].toString() == method && r["path"].toString() == path)
                out.append(QJsonDocument::fromJson(r["body"].toString().toUtf8()).object());
        }
        return out;
    }
    void addFault(const char* json) {
        QString error;
        const auto fault = sim::Fault::fromJson(QJsonDocument::fromJson(json).object(), &error);
        QVERIFY2(fault, qPrintable(error));
        sim->addFault(*fault);
    }

    int rowOf(QAbstractItemModel* model, const QString& role, const QString& value) const {
        const int r = model->roleNames().key(role.toLatin1(), -1);
        for (int i = 0; i < model->rowCount(); ++i) {
            if (model->index(i, 0).data(r).toString() == value)
                return i;
        }
        return -1;
    }

private slots:
    void init() {
        sim::SimConfig config;
        config.data.conversationsPerAgent = 5;
        sim = std::make_unique<sim::SimServer>(config);
        QVERIFY(sim->start() > 0);
        qputenv(Configuration::kApiUrlVariable, sim->baseUrl().toUtf8());
        network = std::make_unique<QNetworkAccessManager>();
        settings = openPreferences(dir.filePath("prefs.json"));
        await(store.save(sim->apiKey()));
        AppState::Dependencies deps;
        deps.network = network.get();
        deps.credentials = &store;
        deps.settings = settings.get();
        deps.browser = &browser;
        state = std::make_unique<AppState>(deps);
        browser.opened.clear();
    }

    void cleanup() {
        state.reset();
        network.reset();
        sim.reset();
        qunsetenv(Configuration::kApiUrlVariable);
    }

    void inboxRowsUpdateInPlace() {
        await(state->bootstrap());
        InboxModel inbox(state.get(), nullptr); // the inbox appears: it loads
        auto* rows = qobject_cast<QAbstractItemModel*>(inbox.rows());
        QAbstractItemModelTester tester(rows,
                                        QAbstractItemModelTester::FailureReportingMode::QtTest);
        QTRY_COMPARE(rows->rowCount(), 35);
        const int at = rows->roleNames().key("lastMessageAt");
        for (int i = 1; i < rows->rowCount(); ++i)
            QVERIFY(rows->index(i - 1, 0).data(at).toDateTime() >=
                    rows->index(i, 0).data(at).toDateTime());

        // A refresh that changes one conversation moves or changes rows; it makes none.
        QSignalSpy inserted(rows, &QAbstractItemModel::rowsInserted);
        QSignalSpy reset(rows, &QAbstractItemModel::modelReset);
        const QString target = firstWith(ConversationStatus::active);
        sim->withData([&](sim::SimData& d) {
            for (auto& c : d.conversations) {
                if (c.id == target)
                    c.hasUnread = !c.hasUnread;
            }
            return 0;
        });
        await(state->realtimeRefresh());
        QCOMPARE(inserted.size(), 0);
        QCOMPARE(reset.size(), 0);

        // The filter narrows the rows; the open conversation stays open whatever it hides.
        inbox.select(target);
        inbox.setFilter(int(inbox::Filter::resolved));
        for (int i = 0; i < rows->rowCount(); ++i)
            QCOMPARE(rows->index(i, 0).data(rows->roleNames().key("status")).toInt(),
                     int(ConversationStatus::resolved));
        QCOMPARE(inbox.openConversationID(), target);
        QVERIFY(inbox.subtitle().endsWith("matches 'Resolved'"));

        // Up and down walk the visible order.
        inbox.setFilter(int(inbox::Filter::all));
        inbox.select(rows->index(0, 0).data(rows->roleNames().key("id")).toString());
        inbox.selectNext(1);
        QCOMPARE(state->selectedConversationID(),
                 rows->index(1, 0).data(rows->roleNames().key("id")).toString());
        inbox.selectNext(-5);
        QCOMPARE(state->selectedConversationID(),
                 rows->index(0, 0).data(rows->roleNames().key("id")).toString());
    }

    void sidebarRowsFollowTheState() {
        SidebarModel sidebar(state.get(), nullptr);
        auto* rows = qobject_cast<QAbstractItemModel*>(sidebar.rows());
        QAbstractItemModelTester tester(rows,
                                        QAbstractItemModelTester::FailureReportingMode::QtTest);
        QCOMPARE(sidebar.userInitials(), u"?"_qs);
        QCOMPARE(sidebar.userName(), u"Not signed in"_qs);
        await(state->bootstrap());
        QCOMPARE(sidebar.userInitials(), u"AM"_qs);
        QCOMPARE(rows->index(0, 0).data(rows->roleNames().key("title")).toString(),
                 u"All AI Agents"_qs);
        QCOMPARE(qint64(sidebar.totalUnread()), state->unreadTotal());

        // Agency user: clients start closed; opening one lists its agents, indented.
        const QString client = state->clients().first().id;
        const int before = rows->rowCount();
        sidebar.toggleClient(client);
        QVERIFY(rows->rowCount() > before);
        sidebar.toggleClient(client);
        QCOMPARE(rows->rowCount(), before);

        // A changed unread count changes a row's data, nothing else.
        QSignalSpy changed(rows, &QAbstractItemModel::dataChanged);
        QSignalSpy inserted(rows, &QAbstractItemModel::rowsInserted);
        sidebar.selectAgent("p5");
        QVERIFY(changed.size() >= 2); // "All AI Agents" and p5 change selection
        QCOMPARE(inserted.size(), 0);
        QCOMPARE(qint64(sidebar.inboxBadge()), state->project("p5")->unreadCount);
    }

    void messageRowsAndTheThread() {
        await(state->bootstrap());
        await(state->loadConversations(std::nullopt));
        DraftStore drafts;
        ThreadController thread(state.get(), nullptr);
        thread.setDrafts(&drafts);
        auto* rows = qobject_cast<QAbstractItemModel*>(thread.messages());
        QAbstractItemModelTester tester(rows,
                                        QAbstractItemModelTester::FailureReportingMode::QtTest);
        const QString waiting = firstWith(ConversationStatus::waiting);
        state->setSelectedConversationID(waiting);
        state->setSelectedConversationID(waiting);
        QTRY_VERIFY(rows->rowCount() > 0); // the thread loads its detail
        QCOMPARE(rows->rowCount(), state->messages(waiting).size());
        QCOMPARE(thread.bottomRegion(), ThreadController::ComposerRegion);
        QVERIFY(thread.suggestionVisible());
        thread.useSuggestion();
        QVERIFY(!thread.suggestionVisible());
        QCOMPARE(drafts.entry(waiting).text, thread.suggestion());

        // Links: only web pages and mail leave the console.
        QVERIFY(!thread.openLink("file:///etc/passwd"));
        QVERIFY(!thread.openLink("javascript:alert(1)"));
        QVERIFY(thread.openLink("mailto:help@example.com"));
        QVERIFY(thread.openLink("https://example.com/a"));
        QCOMPARE(browser.opened.size(), 2);

        // "Open in browser": the conversation's page on the service, identifiers escaped.
        thread.openInBrowser();
        const QString project = [&] {
            for (const Conversation& c : state->conversations()) {
                if (c.id == waiting)
                    return c.projectID;
            }
            return QString();
        }();
        QCOMPARE(browser.opened.last().toString(QUrl::FullyEncoded),
                 sim->baseUrl() + "/projects/" + project + "/chat/" + waiting);

        const QString active = firstWith(ConversationStatus::active);
        state->setSelectedConversationID(active);
        state->setSelectedConversationID(active);
        QCOMPARE(thread.bottomRegion(), ThreadController::TakeOverRegion);
        thread.takeOver();
        QCOMPARE(thread.bottomRegion(), ThreadController::ComposerRegion);
        QVERIFY(sim->requests().last().toObject()["method"].toString() == u"GET"); // nothing sent
    }

    void composerSendsAndGivesBack() {
        await(state->bootstrap());
        await(state->loadConversations(u"p1"_qs));
        DraftStore drafts;
        Composer composer(state.get(), nullptr);
        composer.setDrafts(&drafts);
        const QString id = state->conversations().first().id;
        state->setSelectedConversationID(id);
        QCOMPARE(composer.menuEntries().size(), state->snippets().size());

        composer.setDraft("/");
        QVERIFY(composer.pickerVisible());
        QCOMPARE(composer.matchCount(), u"3 matches"_qs);
        composer.pick(0);
        QCOMPARE(composer.draft(), state->snippets().first().body);

        // Refused: the text returns with the reason, under what was typed since.
        sim::Fault refuse;
        refuse.method = "POST";
        refuse.path = "/api/v2/projects/p1/conversations/" + id + "/send";
        refuse.status = 500;
        refuse.body = "down";
        refuse.times = 1;
        sim->addFault(refuse);
        composer.setDraft("  On my way  ");
        composer.send(true);
        QCOMPARE(composer.draft(), QString());
        composer.setDraft("New line");
        QTRY_COMPARE(composer.failure(), u"Reply not sent: HTTP 500: down"_qs);
        QCOMPARE(composer.draft(), u"New line\nOn my way"_qs);

        // Again, the way it was first sent: with resolving.
        const auto sends = [&] {
            QList<QJsonObject> out;
            for (const QJsonValue& r : sim->requests()) {
                if (r.toObject()["target"].toString() == refuse.path)
                    out.append(r.toObject());
            }
            return out;
        };
        QCOMPARE(sends().size(), 1); // the refused one
        composer.sendAgain();
        QTRY_COMPARE(sends().size(), 2);
        const QJsonObject body =
            QJsonDocument::fromJson(sends().last()["body"].toString().toUtf8()).object();
        QCOMPARE(body["text"].toString(), u"New line\nOn my way"_qs);
        QVERIFY(body["resolve_after"].toBool());
        QTRY_COMPARE(composer.failure(), QString());

        // Drafts belong to their conversation.
        const QString other = state->conversations().at(1).id;
        composer.setDraft("for the first");
        state->setSelectedConversationID(other);
        QCOMPARE(composer.draft(), QString());
        state->setSelectedConversationID(id);
        QCOMPARE(composer.draft(), u"for the first"_qs);
    }

    void contextPanelFindsTheVisitor() {
        await(state->bootstrap());
        await(state->loadConversations(std::nullopt));
        VisitorContext context(state.get(), nullptr);
        const Conversation c = state->conversations().first();
        state->setSelectedConversationID(c.id);
        // No live visitor loaded: the placeholder made from the conversation.
        QCOMPARE(context.pageTitle(), u"Offline"_qs);
        QCOMPARE(context.browser(), u"Unknown"_qs);
        QCOMPARE(context.timeOnSite(), u"0s on site"_qs);
        QCOMPARE(context.pages(), u"1 pages this session"_qs);
        QVERIFY(!context.pageOpens()); // "—" is no web page
        context.openPage();
        QVERIFY(browser.opened.isEmpty());

        // With the agent's visitors loaded, one of them stands beside the conversation.
        QSignalSpy changed(&context, &VisitorContext::changed);
        await(state->loadLiveVisitors(std::nullopt));
        const Visitor v = state->resolvedVisitor(c);
        if (!v.visitorID.startsWith("v_offline_")) {
            QVERIFY(changed.size() >= 1);
            QCOMPARE(context.pageURL(), v.pageURL);
        }
        QCOMPARE(context.messages(), QString::number(c.messageCount) + " messages");
        QCOMPARE(context.chunks().size(), c.aiRetrievedChunks.size());
    }
    void liveVisitorsGroupOpenAndStayStill() {
        sim->withData([](sim::SimData& d) {
            d.seedVisitors(40);
            return 0;
        });
        await(state->bootstrap());
        LiveVisitorsModel visitors(state.get(), nullptr);
        auto* rows = qobject_cast<QAbstractItemModel*>(visitors.rows());
        QAbstractItemModelTester tester(rows,
                                        QAbstractItemModelTester::FailureReportingMode::QtTest);
        state->setSelectedVisitorID("someone");
        visitors.appear(); // the screen shows: nothing selected, the list loads
        QCOMPARE(state->selectedVisitorID(), std::nullopt);
        QTRY_COMPARE(state->liveVisitors().size(), 40);

        // Every block closed: one empty stand-in row per group keeps its header.
        const auto groups = state->visibleVisitorGroups();
        QVERIFY(groups.size() >= 3);
        QCOMPARE(rows->rowCount(), groups.size());
        QVERIFY(visitors.grouped() && visitors.showsToggleAll());
        QCOMPARE(visitors.toggleAllLabel(), u"Expand all"_qs);
        const int section = rows->roleNames().key("section");
        const QString first = rows->index(0, 0).data(section).toString();
        QCOMPARE(visitors.group(first).count, QString::number(groups.first().visitors.size()));
        QCOMPARE(visitors.group(first).expanded, false);

        // Open one block: its visitors, most recently seen first, in place of the stand-in.
        visitors.toggle(first);
        QCOMPARE(rows->rowCount(), groups.size() - 1 + groups.first().visitors.size());
        QCOMPARE(rows->index(0, 0).data(rows->roleNames().key("visitorID")).toString(),
                 groups.first().visitors.first().visitorID);
        QCOMPARE(visitors.toggleAllLabel(), u"Expand all"_qs);
        visitors.toggleAll();
        QCOMPARE(rows->rowCount(), 40);
        QCOMPARE(visitors.toggleAllLabel(), u"Collapse all"_qs);

        // A refresh that changes nothing makes, moves and changes no row.
        QSignalSpy inserted(rows, &QAbstractItemModel::rowsInserted);
        QSignalSpy removed(rows, &QAbstractItemModel::rowsRemoved);
        QSignalSpy changed(rows, &QAbstractItemModel::dataChanged);
        QSignalSpy reset(rows, &QAbstractItemModel::modelReset);
        await(state->loadLiveVisitors(std::nullopt));
        QCOMPARE(inserted.size() + removed.size() + changed.size() + reset.size(), 0);

        // A visitor who leaves is one row fewer; the open blocks stay open.
        const QString leaving = state->liveVisitors().last().visitorID;
        sim->withData([&](sim::SimData& d) {
            d.visitors.removeIf([&](const sim::SimVisitor& v) { return v.visitorId == leaving; });
            return 0;
        });
        await(state->loadLiveVisitors(std::nullopt));
        QCOMPARE(rows->rowCount(), 39);
        QCOMPARE(reset.size(), 0);
        QVERIFY(visitors.allExpanded());

        // One agent: its visitors flat, in the service's order, and nothing selected.
        state->setSelectedVisitorID(state->liveVisitors().first().visitorID);
        state->setSelectedProjectID(groups.first().id);
        QCOMPARE(state->selectedVisitorID(), std::nullopt);
        QTRY_COMPARE(rows->rowCount(), groups.first().visitors.size());
        QVERIFY(!visitors.grouped() && !visitors.showsToggleAll());
        QCOMPARE(rows->index(0, 0).data(section).toString(), QString());
        QCOMPARE(rows->index(0, 0).data(rows->roleNames().key("visitorID")).toString(),
                 state->liveVisitors().first().visitorID);
    }

    void visitorDetailCopiesAndOpens() {
        await(state->bootstrap());
        await(state->loadLiveVisitors(std::nullopt));
        QVERIFY(!state->liveVisitors().isEmpty());
        const Visitor v = state->liveVisitors().first();
        VisitorDetail detail(state.get(), nullptr);
        detail.setVisitorID(v.visitorID);
        QVERIFY(detail.exists());
        QCOMPARE(detail.location(), visitor::location(v, visitor::Panel::detail));
        QVERIFY(!detail.agentLine().isEmpty()); // all agents listed together: whose visitor
        detail.openPage();
        QCOMPARE(browser.opened, QList<QUrl>{QUrl(v.pageURL)});

        // Addresses from a visitor's browser: copied exactly, opened only as web pages.
        for (const QString& odd : {u"javascript:alert(document.cookie)"_qs,
                                   u"file:///etc/passwd"_qs, u"not a url at all ::"_qs}) {
            sim->withData([&](sim::SimData& d) {
                d.visitors.first().pageUrl = odd;
                return 0;
            });
            await(state->loadLiveVisitors(std::nullopt));
            QCOMPARE(detail.pageURL(), odd);
            QVERIFY(!detail.pageOpens());
            detail.openPage();
            QCOMPARE(browser.opened.size(), 1);
            detail.copyLink();
            QCOMPARE(QGuiApplication::clipboard()->text(), odd);
        }

        // "Open in Inbox": the visitor's agent, in the inbox.
        state->setSelectedSection(AppSection::visitors);
        detail.openInInbox();
        QTRY_COMPARE(state->selectedSection(), AppSection::inbox);
        QCOMPARE(state->selectedProjectID(), v.projectID);
        QVERIFY(detail.agentLine().isEmpty()); // one agent in view

        // The visitor leaves: the panel closes, the selection stays.
        sim->withData([&](sim::SimData& d) {
            d.visitors.removeFirst();
            return 0;
        });
        await(state->loadLiveVisitors(std::nullopt));
        QVERIFY(!detail.exists());
        QCOMPARE(detail.visitorID(), v.visitorID);
    }

    void statsFollowTheKeyFromTheCache() {
        await(state->bootstrap());
        StatsModel stats(state.get(), nullptr); // shown: the 30 days of all agents load
        QCOMPARE(stats.subtitle(), u"Loading…"_qs);
        QCOMPARE(stats.conversations(), u"—"_qs); // no figure before one arrived
        QTRY_COMPARE(stats.subtitle(), u"Last 30 days"_qs);
        QVERIFY(stats.conversations().toLongLong() > 0);
        QVERIFY(!stats.topAgents().isEmpty());
        QCOMPARE(stats.pointCount(), 30);
        QCOMPARE(stats.axisLabels().size(), 10); // every third day
        QCOMPARE(stats.axisLabels()[1].at, 3);
        QVERIFY(stats.chartTop() > 0);

        // Another range loads; back again comes from the cache, at once.
        stats.setRangeIndex(0);
        QCOMPARE(state->statsDays(), 7);
        QTRY_COMPARE(stats.subtitle(), u"Last 7 days"_qs);
        const auto asked = received().count("GET /api/v2/stats");
        stats.setRangeIndex(1);
        QCOMPARE(stats.subtitle(), u"Last 30 days"_qs);
        QCOMPARE(received().count("GET /api/v2/stats"), asked);

        // A range left while it loads is no failure of its own.
        addFault(R"({"kind":"delay","path":"/api/v2/stats","delay_ms":400,"times":1})");
        stats.setRangeIndex(2);
        QTRY_VERIFY(sim->arrivals().count("GET /api/v2/stats?days=90") == 1);
        stats.setRangeIndex(1);
        // Once the service has answered the late request, nothing more is coming.
        QTRY_VERIFY(
            std::any_of(sim->requests().begin(), sim->requests().end(), [](const QJsonValue& r) {
                return r["target"].toString() == u"/api/v2/stats?days=90";
            }));
        QCoreApplication::processEvents();
        QCOMPARE(state->statsError(AppState::statsKey(std::nullopt, 90)), std::nullopt);
        QCOMPARE(stats.subtitle(), u"Last 30 days"_qs);

        // A failure: no figures, the reason behind Retry; Retry loads again.
        addFault(R"({"path":"/api/v2/stats","status":503,"body":"busy","times":1})");
        stats.setRangeIndex(2);
        QTRY_VERIFY(stats.failed());
        QCOMPARE(stats.subtitle(), u"Couldn’t load stats"_qs);
        QCOMPARE(stats.conversations(), u"—"_qs);
        QCOMPARE(stats.resolutionRate(), u"—"_qs);
        QCOMPARE(stats.error(), u"Couldn’t load stats: HTTP 503: busy"_qs);
        stats.retry();
        QCOMPARE(stats.subtitle(), u"Loading…"_qs);
        QTRY_COMPARE(stats.subtitle(), u"Last 90 days"_qs);

        // One agent without top agents in its answer: no top agents.
        state->setSelectedProjectID(u"p1"_qs);
        QTRY_COMPARE(stats.subtitle(), u"Last 90 days"_qs);
        QVERIFY(stats.topAgents().isEmpty());
    }

    void snippetLibraryEditsThroughTheService() {
        await(state->bootstrap());
        state->setSelectedProjectID(u"p2"_qs);
        SnippetLibrary library(state.get(), nullptr);
        QAbstractItemModelTester tester(library.items(),
                                        QAbstractItemModelTester::FailureReportingMode::QtTest);
        library.appear(); // the sidebar's agent, preselected
        QCOMPARE(library.projectID(), u"p2"_qs);
        QTRY_COMPARE(library.items()->rowCount(), 3);
        QVERIFY(!library.loading());

        // Create: trimmed, with the default emoji; the editor closes and the list has it.
        SnippetForm* form = library.editor();
        library.startNew();
        QVERIFY(form->isOpen() && !form->editing());
        QCOMPARE(form->saveLabel(), u"Create"_qs);
        form->setProperty("body", " \n ");
        QVERIFY(!form->canSave());
        form->setProperty("shortcut", "  hours ");
        form->setProperty("body", "\n We open at nine. \n");
        form->setProperty("emoji", "");
        QVERIFY(form->canSave());
        const auto listLoads = [&] {
            return received().count(u"GET /api/v2/projects/p2/snippets"_qs);
        };
        const qsizetype loadsBefore = listLoads();
        form->save();
        QTRY_VERIFY(!form->isOpen());
        QTRY_COMPARE(library.items()->rowCount(), 4);
        QCOMPARE(listLoads(), loadsBefore + 1); // one cache: the list is fetched once
        const auto created = bodiesOf("POST", "/api/v2/projects/p2/snippets");
        QCOMPARE(created.size(), 1);
        QCOMPARE(created[0]["shortcut"].toString(), u"hours"_qs);
        QCOMPARE(created[0]["body"].toString(), u"We open at nine."_qs);
        QCOMPARE(created[0]["emoji"].toString(), u"💬"_qs);

        // Edit: the editor starts with the snippet's fields.
        const Snippet target = library.items()->items().last();
        library.startEditing(target.id);
        QCOMPARE(form->heading(), u"Edit snippet"_qs);
        QCOMPARE(form->property("body").toString(), target.body);
        form->setProperty("title", "Opening hours");
        form->save();
        QTRY_VERIFY(!form->isOpen());
        QCOMPARE(bodiesOf("PUT", "/api/v2/projects/p2/snippets/" + target.id).size(), 1);
        QTRY_COMPARE(library.items()->items().last().title, u"Opening hours"_qs);

        // A refused save keeps the editor open with what was typed, and says why.
        addFault(R"({"method":"POST","path":"/api/v2/projects/p2/snippets","status":422,
                     "body":"shortcut taken","times":1})");
        library.startNew();
        form->setProperty("shortcut", "hours");
        form->setProperty("body", "Typed with care");
        form->save();
        QTRY_VERIFY(!form->error().isEmpty());
        QVERIFY(form->isOpen());
        QVERIFY(form->error().startsWith("Snippet not saved: "));
        QCOMPARE(form->property("body").toString(), u"Typed with care"_qs);
        QVERIFY(!library.loading());
        QCOMPARE(library.items()->rowCount(), 4);
        form->save(); // and saving again works
        QTRY_VERIFY(!form->isOpen());
        QTRY_COMPARE(library.items()->rowCount(), 5);

        // Delete, then a delete the service refuses is the app's notice.
        library.remove(target.id);
        QTRY_COMPARE(library.items()->rowCount(), 4);
        QVERIFY(received().contains("DELETE /api/v2/projects/p2/snippets/" + target.id));
        addFault(
            R"({"method":"DELETE","path":"/api/v2/projects/p2/snippets*","status":500,"times":1})");
        library.remove(library.items()->items().first().id);
        QTRY_VERIFY(state->notices()->text().startsWith("Snippet not deleted: HTTP 500"));
        QCOMPARE(library.items()->rowCount(), 4);

        // Another agent whose list fails to load: said so, never an empty list; Retry loads it.
        addFault(R"({"method":"GET","path":"/api/v2/projects/p3/snippets","status":503,
                     "body":"busy","times":1})");
        library.setProjectID(u"p3"_qs);
        QTRY_COMPARE(library.error(), u"Couldn’t load snippets: HTTP 503: busy"_qs);
        QVERIFY(!library.loading());
        library.retry();
        QTRY_VERIFY(library.items()->rowCount() > 0);
        QCOMPARE(library.error(), QString());
        QVERIFY(library.items()->items().first().id.size() > 0);

        // Back to p2 after its list failed to refresh: what was listed stays, with the reason.
        addFault(R"({"method":"GET","path":"/api/v2/projects/p2/snippets","status":503,
                     "body":"busy","times":1})");
        library.setProjectID(u"p2"_qs);
        QCOMPARE(library.items()->rowCount(), 4); // the cache, at once
        QTRY_VERIFY(!library.error().isEmpty());
        QCOMPARE(library.items()->rowCount(), 4);
    }

    void settingsReachTheDesktopAndTheService() {
        await(state->bootstrap());
        // An autostart folder that cannot be made: a file stands where it would go.
        QFile blocker(dir.filePath("blocked"));
        QVERIFY(blocker.open(QIODevice::WriteOnly));
        blocker.close();
        LoginItem refusing(settings.get(), dir.filePath("blocked/autostart"), "/usr/bin/kestovar");
        LoginItem working(settings.get(), dir.filePath("autostart"), "/usr/bin/kestovar");
        FreedesktopNotifier absent(QDBusConnection::sessionBus(), "com.kestovar.NoSuchService");
        NotificationManager manager(&absent, settings.get());
        DesktopServices desktop({settings.get(), &refusing, &manager});

        AccountSettings account(state.get(), &desktop, nullptr);
        QVERIFY(!account.launchAtLogin());
        account.setLaunchAtLogin(true); // refused: the switch springs back
        QVERIFY(!account.launchAtLogin());
        DesktopServices desktop2({settings.get(), &working, &manager});
        AccountSettings account2(state.get(), &desktop2, nullptr);
        account2.setLaunchAtLogin(true);
        QVERIFY(account2.launchAtLogin());
        QVERIFY(QFile::exists(working.entryPath()));
        account2.setLaunchAtLogin(false);
        QVERIFY(!QFile::exists(working.entryPath()));

        // A fresh installation: "Match system language"; a choice is stored as its raw text.
        QCOMPARE(account.translationLabels().value(account.translationIndex()),
                 u"Match system language"_qs);
        ThreadController thread(state.get(), nullptr);
        QCOMPARE(thread.translationEntries().first(), u"Default (Match system language)"_qs);
        QSignalSpy entries(&thread, &ThreadController::translationEntriesChanged);
        QSignalSpy otherWindow(&account2, &AccountSettings::translationChanged);
        account.setTranslationIndex(
            int(allTranslationLanguages().indexOf(TranslationLanguage::da)));
        QCOMPARE(settings->value(AppState::kTranslationKey).toString(), u"da"_qs);
        // An open thread's menu, and the settings shown elsewhere, follow at once.
        QCOMPARE(entries.size(), 1);
        QCOMPARE(thread.translationEntries().first(), u"Default (Danish)"_qs);
        QCOMPARE(otherWindow.size(), 1);
        QCOMPARE(account2.translationIndex(), account.translationIndex());

        // Every switch starts on; off is stored as a Bool the manager honours.
        NotificationSettings notif(state.get(), &desktop, nullptr);
        QVERIFY(notif.escalation() && notif.newMessage() && notif.visitorOnline() &&
                notif.playSound());
        notif.setNewMessage(false);
        QCOMPARE(settings->value(NotificationManager::kNewMessageKey), QVariant(false));
        QVERIFY(!manager.globallyEnabled(RealtimeEvent::Kind::messageReceived));

        // Muting an agent reaches the service; the switch shows it.
        notif.setMuted(u"p3"_qs, true);
        QTRY_COMPARE(bodiesOf("PUT", "/api/v2/notification-prefs").size(), 1);
        QCOMPARE(bodiesOf("PUT", "/api/v2/notification-prefs")[0]["project_id"].toString(),
                 u"p3"_qs);
        QCOMPARE(bodiesOf("PUT", "/api/v2/notification-prefs")[0]["muted"].toBool(), true);
        const auto agents = notif.agents();
        const auto p3 = std::find_if(agents.begin(), agents.end(),
                                     [](const AgentMuteRow& a) { return a.id == u"p3"_qs; });
        QVERIFY(p3 != agents.end() && p3->muted);

        // Nothing answers for notifications here: the banner, and a test that says so.
        notif.appear();
        QTRY_VERIFY(notif.serviceMissing());
        notif.sendTestNotification();
        QTRY_VERIFY(!notif.testing());
        QCOMPARE(notif.testResult(), u"No notification service"_qs);
        QVERIFY(!notif.testDelivered());
    }
};

QTEST_MAIN(TestViewModels)
#include "tst_viewmodels.moc"
