// A list shown last row first passes each change of its source on as the
// same change, at the mirrored rows: a view that follows only its signals
// always holds the source reversed.

#include "RandomSnippets.h"
#include "ReversedRows.h"
#include "state/RecordRoles.h"

#include <QAbstractItemModelTester>
#include <QSignalSpy>
#include <QTest>

using namespace kv;

namespace {

QString rowText(const QAbstractItemModel& model, int row) {
    const QModelIndex at = model.index(row, 0);
    return at.data(Qt::UserRole + 1).toString() + "=" + at.data(Qt::UserRole + 3).toString();
}

QStringList rowsOf(const QAbstractItemModel& model) {
    QStringList rows;
    for (int row = 0; row < model.rowCount(); ++row)
        rows.append(rowText(model, row));
    return rows;
}

// What a view holds when it changes only as the model's signals say.
class SignalMirror {
public:
    explicit SignalMirror(const QAbstractItemModel& model) : m_model(model) {
        m_rows = rowsOf(model);
        QObject::connect(&model, &QAbstractItemModel::rowsInserted,
                         [this](const QModelIndex&, int first, int last) {
                             for (int row = first; row <= last; ++row)
                                 m_rows.insert(row, rowText(m_model, row));
                         });
        QObject::connect(&model, &QAbstractItemModel::rowsRemoved,
                         [this](const QModelIndex&, int first, int last) {
                             m_rows.remove(first, last - first + 1);
                         });
        QObject::connect(
            &model, &QAbstractItemModel::rowsMoved,
            [this](const QModelIndex&, int first, int last, const QModelIndex&, int destination) {
                const QStringList block = m_rows.mid(first, last - first + 1);
                m_rows.remove(first, block.size());
                const int at = destination > last ? destination - int(block.size()) : destination;
                for (qsizetype i = 0; i < block.size(); ++i)
                    m_rows.insert(at + i, block[i]);
            });
        QObject::connect(&model, &QAbstractItemModel::dataChanged,
                         [this](const QModelIndex& topLeft, const QModelIndex& bottomRight) {
                             for (int row = topLeft.row(); row <= bottomRight.row(); ++row)
                                 m_rows[row] = rowText(m_model, row);
                         });
        QObject::connect(&model, &QAbstractItemModel::modelReset,
                         [this] { m_rows = rowsOf(m_model); });
    }
    const QStringList& rows() const { return m_rows; }

private:
    const QAbstractItemModel& m_model;
    QStringList m_rows;
};

} // namespace

class TestReversedRows : public QObject {
    Q_OBJECT

private slots:
    void mirrorsEveryChangeOfItsSource() {
        std::unique_ptr<SnippetListModel> source(newSnippetModel(nullptr));
        ReversedRows reversed;
        reversed.setSourceModel(source.get());
        QAbstractItemModelTester tester(&reversed,
                                        QAbstractItemModelTester::FailureReportingMode::QtTest);
        SignalMirror view(reversed);
        QSignalSpy resets(&reversed, &QAbstractItemModel::modelReset);
        QCOMPARE(reversed.roleNames(), source->roleNames());

        // Rows added at the end (a new message) come first, as one insert.
        source->apply({test::snippet("a", "1"), test::snippet("b", "1")});
        QSignalSpy inserted(&reversed, &QAbstractItemModel::rowsInserted);
        source->apply({test::snippet("a", "1"), test::snippet("b", "1"), test::snippet("c", "1")});
        QCOMPARE(inserted.size(), 1);
        QCOMPARE(inserted.first().at(1).toInt(), 0);
        QCOMPARE(rowsOf(reversed), (QStringList{"c=1", "b=1", "a=1"}));
        QCOMPARE(view.rows(), rowsOf(reversed));
        QCOMPARE(resets.size(), 0);

        // Random lists: inserts, removals, moves, changes and resets.
        std::mt19937 random(11);
        for (int round = 0; round < 300; ++round) {
            source->apply(test::randomSnippets(random, round % 3 ? "x" : "y"));
            QStringList expected = rowsOf(*source);
            std::reverse(expected.begin(), expected.end());
            QCOMPARE(rowsOf(reversed), expected);
            QCOMPARE(view.rows(), expected);
        }

        // A new source starts over; none leaves the list empty.
        std::unique_ptr<SnippetListModel> other(newSnippetModel(nullptr));
        other->apply({test::snippet("z", "1"), test::snippet("y", "1")});
        reversed.setSourceModel(other.get());
        QCOMPARE(view.rows(), (QStringList{"y=1", "z=1"}));
        source->apply({test::snippet("q", "1")}); // the old source is no longer followed
        QCOMPARE(view.rows(), (QStringList{"y=1", "z=1"}));
        reversed.setSourceModel(nullptr);
        QCOMPARE(reversed.rowCount(), 0);
        QCOMPARE(view.rows(), QStringList());
    }
};

QTEST_GUILESS_MAIN(TestReversedRows)
#include "tst_reversedrows.moc"
