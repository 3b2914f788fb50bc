// The thread's view-model: the open conversation's messages as rows, the
// region under them for each status, taking over, and translations.

#include "Await.h"
#include "MessageRows.h"
#include "ThreadController.h"
#include "ViewModelWorld.h"

#include <QAbstractItemModelTester>
#include <QTest>

using namespace kv;
using kv::test::await;

class TestThreadController : public QObject, public test::ViewModelWorld {
    Q_OBJECT

private slots:
    void init() { QVERIFY(start()); }
    void cleanup() { stop(); }

    void messageRowsAndTheThread() {
        await(state->bootstrap());
        await(state->loadConversations(std::nullopt));
        DraftStore drafts(nullptr, {});
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
        // Newest first: the list is laid out from the bottom up.
        QCOMPARE(rows->index(0, 0).data(MessageRows::MessageIDRole).toString(),
                 state->messages(waiting).last().id);
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
};

QTEST_MAIN(TestThreadController)
#include "tst_threadcontroller.moc"
