// The screens' view-models over a state fed by the simulated service, without
// a window: their lists are sound models that update in place, and what they
// start (sends, links, translations) reaches the service or the browser as it should.

#include "Await.h"
#include "Composer.h"
#include "DraftStore.h"
#include "InboxModel.h"
#include "MessageRows.h"
#include "RecordingBrowser.h"
#include "SidebarModel.h"
#include "SimServer.h"
#include "ThreadController.h"
#include "VisitorContext.h"
#include "platform/CredentialStore.h"
#include "service/Configuration.h"
#include "state/AppState.h"

#include <QAbstractItemModelTester>
#include <QJsonDocument>
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
        settings = std::make_unique<QSettings>(dir.filePath("prefs.ini"), QSettings::IniFormat);
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
        QAbstractItemModelTester tester(rows, QAbstractItemModelTester::FailureReportingMode::QtTest);
        QTRY_COMPARE(rows->rowCount(), 35);
        const int at = rows->roleNames().key("lastMessageAt");
        for (int i = 1; i < rows->rowCount(); ++i)
            QVERIFY(rows->index(i - 1, 0).data(at).toDateTime() >= rows->index(i, 0).data(at).toDateTime());

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
        QAbstractItemModelTester tester(rows, QAbstractItemModelTester::FailureReportingMode::QtTest);
        QCOMPARE(sidebar.userInitials(), u"?"_qs);
        QCOMPARE(sidebar.userName(), u"Not signed in"_qs);
        await(state->bootstrap());
        QCOMPARE(sidebar.userInitials(), u"AM"_qs);
        QCOMPARE(rows->index(0, 0).data(rows->roleNames().key("title")).toString(),
                 u"All AI Agents"_qs);
        QCOMPARE(sidebar.totalUnread(), state->unreadTotal());

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
        QCOMPARE(sidebar.inboxBadge(), state->project("p5")->unreadCount);
    }

    void messageRowsAndTheThread() {
        await(state->bootstrap());
        await(state->loadConversations(std::nullopt));
        DraftStore drafts;
        ThreadController thread(state.get(), nullptr);
        thread.setDrafts(&drafts);
        auto* rows = qobject_cast<QAbstractItemModel*>(thread.messages());
        QAbstractItemModelTester tester(rows, QAbstractItemModelTester::FailureReportingMode::QtTest);
        const QString waiting = firstWith(ConversationStatus::waiting);
        state->setSelectedConversationID(waiting);
        thread.setConversationID(waiting);
        QTRY_VERIFY(rows->rowCount() > 0); // the thread loads its detail
        QCOMPARE(rows->rowCount(), state->messages(waiting).size());
        QCOMPARE(thread.bottomRegion(), int(ThreadController::ComposerRegion));
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
        thread.setConversationID(active);
        QCOMPARE(thread.bottomRegion(), int(ThreadController::TakeOverRegion));
        thread.takeOver();
        QCOMPARE(thread.bottomRegion(), int(ThreadController::ComposerRegion));
        QVERIFY(sim->requests().last().toObject()["method"].toString() == u"GET"); // nothing sent
    }

    void composerSendsAndGivesBack() {
        await(state->bootstrap());
        await(state->loadConversations(u"p1"_qs));
        DraftStore drafts;
        Composer composer(state.get(), nullptr);
        composer.setDrafts(&drafts);
        const QString id = state->conversations().first().id;
        composer.setConversationID(id);
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
        composer.setConversationID(other);
        QCOMPARE(composer.draft(), QString());
        composer.setConversationID(id);
        QCOMPARE(composer.draft(), u"for the first"_qs);
    }

    void contextPanelFindsTheVisitor() {
        await(state->bootstrap());
        await(state->loadConversations(std::nullopt));
        VisitorContext context(state.get(), nullptr);
        const Conversation c = state->conversations().first();
        context.setConversationID(c.id);
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
};

QTEST_MAIN(TestViewModels)
#include "tst_viewmodels.moc"
