// The inbox's rules without a window: the status filter, the order of the
// list and its texts.

#include "InboxRules.h"
#include "TestLocale.h"
#include "UiTexts.h"

#include <QTest>

using namespace kv;

namespace {

Conversation conversation(const QString& id, ConversationStatus status, qint64 at) {
    Conversation c;
    c.id = id;
    c.status = status;
    c.lastMessageAt = QDateTime::fromSecsSinceEpoch(at, Qt::UTC);
    return c;
}

QStringList ids(const QList<Conversation>& list) {
    QStringList out;
    for (const auto& c : list)
        out.append(c.id);
    return out;
}

} // namespace

class TestInboxRules : public QObject {
    Q_OBJECT

private slots:
    // Run again under a desktop locale that writes "0,76" (the _de run): the
    // numbers the screens show keep their ".".
    void initTestCase() {
        QVERIFY2(kv::test::requestedLocaleApplies(),
                 "the de_DE.UTF-8 locale is not installed (scripts/install-deps generates it)");
    }

    void inboxFilterOrderAndTexts() {
        using inbox::Filter;
        const QList<Conversation> list{
            conversation("a", ConversationStatus::waiting, 100),
            conversation("b", ConversationStatus::operatorActive, 300),
            conversation("c", ConversationStatus::active, 300), // same time as b
            conversation("d", ConversationStatus::resolved, 200)};
        QCOMPARE(ids(inbox::visibleOrder(list)), (QStringList{"b", "c", "d", "a"}));
        QCOMPARE(ids(inbox::filtered(list, Filter::active)), (QStringList{"b", "c"}));
        QCOMPARE(ids(inbox::filtered(list, Filter::waiting)), (QStringList{"a"}));
        // Conversations without messages all share one time: however many, they
        // keep the service's order (an unstable sort shuffles from 17 up).
        QList<Conversation> same;
        QStringList sameIds;
        for (int i = 0; i < 40; ++i) {
            const QString id = "s" + QString::number(i);
            same.append(conversation(id, ConversationStatus::active, 500));
            sameIds.append(id);
        }
        same.insert(20, conversation("newest", ConversationStatus::active, 900));
        QCOMPARE(ids(inbox::visibleOrder(same)), QStringList{"newest"} + sameIds);
        QCOMPARE(inbox::filterFromText("Needs reply"), std::optional(Filter::waiting));
        QCOMPARE(inbox::filterFromText("needs reply"), std::nullopt);

        QList<Conversation> twelve;
        for (int i = 0; i < 12; ++i)
            twelve.append(conversation(
                "x", i < 3 ? ConversationStatus::waiting : ConversationStatus::active, i));
        QCOMPARE(inbox::subtitle(twelve, Filter::all), u"12 total · 3 need reply"_qs);
        QCOMPARE(inbox::subtitle(twelve, Filter::waiting), u"3 of 12 matches 'Needs reply'"_qs);
        QCOMPARE(inbox::subtitle({}, Filter::all), u"No conversations loaded for this agent"_qs);

        QCOMPARE(inbox::emptyState({}, Filter::all)->title, u"No conversations yet"_qs);
        // A list that failed to load says so with the reason; rows, once there, win.
        const auto failed = inbox::emptyState({}, Filter::waiting, u"HTTP 500: boom"_qs);
        QCOMPARE(failed->title, u"Couldn’t load conversations"_qs);
        QCOMPARE(failed->text, u"HTTP 500: boom"_qs);
        QVERIFY(!inbox::emptyState(twelve, Filter::all, u"HTTP 500: boom"_qs));
        QVERIFY(!inbox::emptyState(twelve, Filter::all));
        const auto none =
            inbox::emptyState({conversation("a", ConversationStatus::active, 1)}, Filter::resolved);
        QCOMPARE(none->title, u"No conversations match 'Resolved'"_qs);
        QCOMPARE(none->text, u"Switch to 'All' to see all 1 conversation for this agent."_qs);
        QCOMPARE(inbox::emptyState(twelve, Filter::resolved)->text,
                 u"Switch to 'All' to see all 12 conversations for this agent."_qs);
        QCOMPARE(UiTexts::statusText(int(ConversationStatus::operatorActive)),
                 u"You're chatting"_qs);
    }
};

QTEST_GUILESS_MAIN(TestInboxRules)
#include "tst_inboxrules.moc"
