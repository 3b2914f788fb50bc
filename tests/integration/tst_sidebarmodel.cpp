// The sidebar's view-model: its rows follow the state's agents, clients and counts.

#include "Await.h"
#include "SidebarModel.h"
#include "ViewModelWorld.h"

#include <QAbstractItemModelTester>
#include <QSignalSpy>
#include <QTest>

using namespace kv;
using kv::test::await;

class TestSidebarModel : public QObject, public test::ViewModelWorld {
    Q_OBJECT

private slots:
    void init() { QVERIFY(start()); }
    void cleanup() { stop(); }

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
        sidebar.selectProject("p5");
        QVERIFY(changed.size() >= 2); // "All AI Agents" and p5 change selection
        QCOMPARE(inserted.size(), 0);
        QCOMPARE(qint64(sidebar.inboxBadge()), state->project("p5")->unreadCount);
    }
};

QTEST_MAIN(TestSidebarModel)
#include "tst_sidebarmodel.moc"
