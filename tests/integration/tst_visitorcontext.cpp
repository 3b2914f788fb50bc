// The context panel's view-model: the visitor behind the open conversation and
// what the AI did.

#include "Await.h"
#include "ViewModelWorld.h"
#include "VisitorContext.h"

#include <QSignalSpy>
#include <QTest>

using namespace kv;
using kv::test::await;

class TestVisitorContext : public QObject, public test::ViewModelWorld {
    Q_OBJECT

private slots:
    void init() { QVERIFY(start()); }
    void cleanup() { stop(); }

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
};

QTEST_MAIN(TestVisitorContext)
#include "tst_visitorcontext.moc"
