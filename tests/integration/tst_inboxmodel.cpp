// The inbox's view-model over a state fed by the simulated service: its rows are
// a sound model that updates in place as the state changes.

#include "Await.h"
#include "InboxModel.h"
#include "ViewModelWorld.h"

#include <QAbstractItemModelTester>
#include <QSignalSpy>
#include <QTest>

using namespace kv;
using kv::test::await;

class TestInboxModel : public QObject, public test::ViewModelWorld {
    Q_OBJECT

private slots:
    void init() { QVERIFY(start()); }
    void cleanup() { stop(); }

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
};

QTEST_MAIN(TestInboxModel)
#include "tst_inboxmodel.moc"
