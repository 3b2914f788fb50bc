// The live visitors' view-model: groups by agent that open, close and stay
// still while the list refreshes.

#include "Await.h"
#include "LiveVisitorsModel.h"
#include "ViewModelWorld.h"

#include <QAbstractItemModelTester>
#include <QSignalSpy>
#include <QTest>

using namespace kv;
using kv::test::await;

class TestLiveVisitorsModel : public QObject, public test::ViewModelWorld {
    Q_OBJECT

private slots:
    void init() { QVERIFY(start()); }
    void cleanup() { stop(); }

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
};

QTEST_MAIN(TestLiveVisitorsModel)
#include "tst_livevisitorsmodel.moc"
