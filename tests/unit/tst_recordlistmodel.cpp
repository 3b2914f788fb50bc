// The list models apply a new list as row changes matched by identity, so a
// refresh that changes nothing emits nothing.

#include "RandomSnippets.h"
#include "state/RecordRoles.h"

#include <QAbstractItemModelTester>
#include <QSignalSpy>
#include <QTest>

using namespace kv;

namespace {

Snippet snip(const char* id, const char* title = "t") {
    return Snippet{id, id, title, "body", "💬"};
}

QStringList ids(const SnippetListModel& model) {
    QStringList out;
    for (int row = 0; row < model.rowCount(); ++row)
        out.append(model.data(model.index(row), Qt::UserRole + 1).toString());
    return out;
}

} // namespace

class TestRecordListModel : public QObject {
    Q_OBJECT

private slots:
    void appliesListsAsRowChanges() {
        std::unique_ptr<SnippetListModel> model(newSnippetModel(nullptr));
        QAbstractItemModelTester tester(model.get(),
                                        QAbstractItemModelTester::FailureReportingMode::QtTest);
        QSignalSpy inserted(model.get(), &QAbstractItemModel::rowsInserted);
        QSignalSpy removed(model.get(), &QAbstractItemModel::rowsRemoved);
        QSignalSpy moved(model.get(), &QAbstractItemModel::rowsMoved);
        QSignalSpy changed(model.get(), &QAbstractItemModel::dataChanged);
        QSignalSpy reset(model.get(), &QAbstractItemModel::modelReset);
        QSignalSpy count(model.get(), &RecordListModelBase::countChanged);

        QVERIFY(model->apply({snip("a"), snip("b"), snip("c"), snip("d")}));
        QCOMPARE(ids(*model), (QStringList{"a", "b", "c", "d"}));
        QCOMPARE(inserted.size(), 1); // new rows arrive as one run
        QCOMPARE(inserted.first().at(1).toInt(), 0);
        QCOMPARE(inserted.first().at(2).toInt(), 3);

        // The same list again: not a single signal.
        const auto before = inserted.size() + removed.size() + moved.size() + changed.size();
        QVERIFY(!model->apply({snip("a"), snip("b"), snip("c"), snip("d")}));
        QCOMPARE(inserted.size() + removed.size() + moved.size() + changed.size(), before);

        // Remove b, move d to the front, change c, add e.
        QVERIFY(model->apply({snip("d"), snip("a"), snip("c", "changed"), snip("e")}));
        QCOMPARE(ids(*model), (QStringList{"d", "a", "c", "e"}));
        QCOMPARE(removed.size(), 1);
        QCOMPARE(moved.size(), 1);
        QCOMPARE(changed.size(), 1);
        QCOMPARE(model->items()[2].title, u"changed"_qs);
        QCOMPARE(reset.size(), 0);

        // One record changed in place: one row's data, found again by identity.
        const auto changesBefore = changed.size();
        QVERIFY(model->update("a", [](Snippet& s) { s.title = "edited"; }));
        QCOMPARE(changed.size(), changesBefore + 1);
        QCOMPARE(changed.last().at(0).value<QModelIndex>().row(), 1);
        QCOMPARE(model->find("a")->title, u"edited"_qs);
        QVERIFY(!model->update("a", [](Snippet& s) { s.title = "edited"; })); // no change
        QVERIFY(!model->update("zz", [](Snippet& s) { s.title = "x"; }));     // not listed
        QCOMPARE(changed.size(), changesBefore + 1);
        QVERIFY(!model->find("zz"));

        // Nothing in common with what is shown (another conversation's messages): one reset.
        QVERIFY(model->apply({snip("x"), snip("y")}));
        QCOMPARE(reset.size(), 1);
        QCOMPARE(ids(*model), (QStringList{"x", "y"}));

        QVERIFY(model->apply({}));
        QCOMPARE(model->rowCount(), 0);
        QCOMPARE(reset.size(), 1); // emptying removes the rows
        QCOMPARE(count.size(), 3); // 0 → 4, 4 → 2, 2 → 0; the reshuffle kept four rows
    }

    // The list a model takes whole stays shared with its giver, also when the
    // same list comes again: a thread of thousands of messages is not copied
    // each time it opens or refreshes.
    void keepsTheListItIsGivenWithoutCopying() {
        std::unique_ptr<SnippetListModel> model(newSnippetModel(nullptr));
        const QList<Snippet> list{snip("a"), snip("b"), snip("c")};
        QVERIFY(model->apply(list));
        QVERIFY(model->items().isSharedWith(list));
        QVERIFY(!model->apply(list));
        QVERIFY(model->items().isSharedWith(list));
        const QList<Snippet> other{snip("x"), snip("y")};
        QVERIFY(model->apply(other));
        QVERIFY(model->items().isSharedWith(other));
        QVERIFY(model->apply({}));
        QVERIFY(model->items().isEmpty());
    }

    void repeatedIdentitiesStartOver() {
        std::unique_ptr<SnippetListModel> model(newSnippetModel(nullptr));
        QAbstractItemModelTester tester(model.get(),
                                        QAbstractItemModelTester::FailureReportingMode::QtTest);
        QSignalSpy reset(model.get(), &QAbstractItemModel::modelReset);
        QVERIFY(model->apply({snip("a"), snip("a", "twin")}));
        QCOMPARE(reset.size(), 1);
        QCOMPARE(model->rowCount(), 2);
        QVERIFY(!model->apply({snip("a"), snip("a", "twin")}));
        QCOMPARE(reset.size(), 1);
    }

    void rolesNameTheFields() {
        std::unique_ptr<ConversationListModel> model(newConversationModel(nullptr));
        Conversation c;
        c.id = "c1";
        c.projectID = "p1";
        c.status = ConversationStatus::waiting;
        c.rating = 4;
        model->apply({c});
        const QVariantMap row = model->get(0);
        QCOMPARE(row["id"].toString(), u"c1"_qs);
        QCOMPARE(row["status"].value<ConversationStatus>(), ConversationStatus::waiting);
        QCOMPARE(row["rating"].toLongLong(), 4);
        QVERIFY(!row["visitorName"].isValid()); // absent stays absent
        QVERIFY(model->get(5).isEmpty());
    }

    void randomListsKeepTheModelConsistent() {
        std::unique_ptr<SnippetListModel> model(newSnippetModel(nullptr));
        QAbstractItemModelTester tester(model.get(),
                                        QAbstractItemModelTester::FailureReportingMode::QtTest);
        std::mt19937 random(7);
        for (int round = 0; round < 200; ++round) {
            const QList<Snippet> next = test::randomSnippets(random, round % 3 ? "x" : "y");
            model->apply(next);
            QCOMPARE(model->items(), next);
        }
    }
};

QTEST_GUILESS_MAIN(TestRecordListModel)
#include "tst_recordlistmodel.moc"
