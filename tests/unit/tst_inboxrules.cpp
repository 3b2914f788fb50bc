// The inbox's rules without a window: the status filter, the order of the
// list and its texts.

#include "InboxRules.h"
#include "TestLocale.h"
#include "TextMatch.h"
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

    // The search: name, preview, tags and country, without case or accents,
    // narrowed together with the filter, and its counts and empty state.
    void searchMatchesWhatTheRowShows() {
        using inbox::Filter;
        Conversation jose = conversation("jose", ConversationStatus::waiting, 3);
        jose.visitorName = u"José Álvarez"_qs;
        jose.visitorCountry = u"ES"_qs;
        Conversation tagged = conversation("tagged", ConversationStatus::active, 2);
        tagged.tags = {u"billing"_qs, u"Überweisung"_qs};
        tagged.lastMessagePreview = u"Where is my invoice?"_qs;
        const Conversation anonymous = conversation("anon", ConversationStatus::resolved, 1);
        const QList<Conversation> all{jose, tagged, anonymous};
        const auto found = [&](const QString& text, Filter filter = Filter::all) {
            QStringList out;
            for (const Conversation& c : all) {
                if (inbox::shown(c, filter, foldForSearch(text)))
                    out.append(c.id);
            }
            return out;
        };
        QCOMPARE(found(u"jose"_qs), QStringList{u"jose"_qs});
        QCOMPARE(found(u"ALVAREZ"_qs), QStringList{u"jose"_qs});
        QCOMPARE(found(u"josé"_qs), QStringList{u"jose"_qs});
        QCOMPARE(found(u"uberweisung"_qs), QStringList{u"tagged"_qs});
        QCOMPARE(found(u"invoice"_qs), QStringList{u"tagged"_qs});
        QCOMPARE(found(u"es"_qs), QStringList{u"jose"_qs}); // the country
        QCOMPARE(found(QString()), (QStringList{u"jose"_qs, u"tagged"_qs, u"anon"_qs}));
        QCOMPARE(found(u"jose"_qs, Filter::active), QStringList());
        QCOMPARE(found(u"<b>"_qs), QStringList());

        QCOMPARE(inbox::subtitle(all, Filter::all, u" jose "_qs), u"1 of 3 matches 'jose'"_qs);
        QCOMPARE(inbox::subtitle(all, Filter::all, u"e"_qs), u"2 of 3 match 'e'"_qs);
        QCOMPARE(inbox::subtitle(all, Filter::waiting, u"e"_qs),
                 u"1 of 3 matches 'e' in 'Needs reply'"_qs);
        QCOMPARE(inbox::subtitle(all, Filter::all, u"   "_qs), u"3 total · 1 need reply"_qs);
        const auto none = inbox::emptyState(all, Filter::all, QString(), u"zzz"_qs);
        QVERIFY(none);
        QCOMPARE(none->title, u"No conversations match 'zzz'"_qs);
        QCOMPARE(none->text, u"Clear the search to see all 3 conversations here."_qs);
        QVERIFY(!inbox::emptyState(all, Filter::all, QString(), u"jose"_qs));
    }

    // The next visitor to answer: of those waiting, the longest without a
    // reply; the first listed wins a tie; none when nobody waits.
    void longestWaitingIsTheOldestWaitingMessage() {
        const QList<Conversation> list{
            conversation("new", ConversationStatus::waiting, 50),
            conversation("resolvedOld", ConversationStatus::resolved, 1),
            conversation("activeOld", ConversationStatus::active, 2),
            conversation("old", ConversationStatus::waiting, 10),
            conversation("oldToo", ConversationStatus::waiting, 10),
        };
        QCOMPARE(inbox::longestWaiting(list)->id, u"old"_qs);
        QVERIFY(!inbox::longestWaiting({list[1], list[2]}));
        QVERIFY(!inbox::longestWaiting({}));
    }
};

QTEST_GUILESS_MAIN(TestInboxRules)
#include "tst_inboxrules.moc"
