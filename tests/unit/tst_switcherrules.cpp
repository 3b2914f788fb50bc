// The quick switcher's matching and ranking without a window: accents and
// case, the four ranks, ties by recent activity, groups, the empty query and
// the marks on the matched letters.

#include "SwitcherRules.h"
#include "TestLocale.h"

#include <QTest>

using namespace kv;
using namespace kv::switcher;

namespace {

Candidate candidate(Kind kind, const QString& title, qint64 activity = 0,
                    const QString& detail = QString(), const QStringList& extra = {}) {
    Candidate c;
    c.kind = kind;
    c.key = title;
    c.title = title;
    c.detail = detail;
    c.extra = extra;
    c.activity = QDateTime::fromSecsSinceEpoch(activity, Qt::UTC);
    prepare(c);
    return c;
}

QStringList titles(const QList<Candidate>& all, const QList<Result>& results) {
    QStringList out;
    for (const Result& r : results)
        out.append(all.at(r.candidate).title);
    return out;
}

} // namespace

class TestSwitcherRules : public QObject {
    Q_OBJECT

private slots:
    void initTestCase() {
        QVERIFY2(kv::test::requestedLocaleApplies(),
                 "the de_DE.UTF-8 locale is not installed (scripts/install-deps generates it)");
    }

    void accentsAndCaseDoNotCount() {
        const FoldedText jose = foldWithOrigin(u"José Ñúñez"_qs);
        QCOMPARE(jose.folded, u"jose nunez"_qs);
        QCOMPARE(match(jose, u"jose"_qs), (Match{Rank::prefix, {0, 1, 2, 3}}));
        QCOMPARE(match(jose, u"nunez"_qs), (Match{Rank::wordStart, {5, 6, 7, 8, 9}}));
        QVERIFY(!match(jose, u"zz"_qs));
        QVERIFY(!match(jose, QString()));
        QVERIFY(!match(foldWithOrigin(QString()), u"a"_qs));
        // An emoji before the match keeps the marks on the right letters.
        const FoldedText shop = foldWithOrigin(u"🛍 Café Lumière"_qs);
        const auto cafe = match(shop, u"cafe"_qs);
        QVERIFY(cafe);
        QCOMPARE(cafe->positions, (QList<int>{3, 4, 5, 6}));
        QCOMPARE(segments(u"🛍 Café Lumière"_qs, cafe->positions),
                 (QList<std::pair<QString, bool>>{
                     {u"🛍 "_qs, false}, {u"Café"_qs, true}, {u" Lumière"_qs, false}}));
    }

    // Whole-text prefix, then a later word's start, then inside a word, then
    // letters in order; equals by recent activity, then by text.
    void ranksThenRecency() {
        const QList<Candidate> all{
            candidate(Kind::conversation, u"A. Nakamura"_qs, 50), // letters in order
            candidate(Kind::conversation, u"Diana"_qs, 40),       // inside a word
            candidate(Kind::conversation, u"Joan Anderson"_qs, 30),
            candidate(Kind::conversation, u"Anna"_qs, 10),
            candidate(Kind::conversation, u"Ánne"_qs, 20),
            candidate(Kind::conversation, u"Bob"_qs, 99),
        };
        QCOMPARE(match(all[2].foldedTitle, u"an"_qs)->rank, Rank::wordStart);
        QCOMPARE(match(all[0].foldedTitle, u"an"_qs)->rank, Rank::inOrder);
        QCOMPARE(titles(all, search(all, u"an"_qs, 10)),
                 (QStringList{u"Ánne"_qs, u"Anna"_qs, u"Joan Anderson"_qs, u"Diana"_qs,
                              u"A. Nakamura"_qs}));
        // Spaces in the query only separate the letters.
        QCOMPARE(titles(all, search(all, u"  j  a "_qs, 10)), QStringList{u"Joan Anderson"_qs});
        QVERIFY(search(all, u"xyz"_qs).isEmpty());
    }

    // Grouped by kind in a fixed order, each group cut; a match in the second
    // line or a hidden text counts, marked where it is shown.
    void groupsCutsAndWhereTheMatchIs() {
        QList<Candidate> all{
            candidate(Kind::action, u"Sign out"_qs),
            candidate(Kind::place, u"Settings"_qs),
            candidate(Kind::visitor, u"Pricing"_qs, 5, u"https://shop.example/pricing"_qs),
            candidate(Kind::conversation, u"Mette"_qs, 5, u"Is shipping free?"_qs),
            candidate(Kind::conversation, u"Sven"_qs, 6, QString(), {u"shipping"_qs}),
            candidate(Kind::agent, u"Shop Assistant"_qs, 0, u"Nordic Goods"_qs),
        };
        for (int i = 0; i < 8; ++i)
            all.append(candidate(Kind::conversation, u"Shopper %1"_qs.arg(i), i));
        const auto results = search(all, u"s"_qs, 3);
        QStringList kinds;
        for (const Result& r : results)
            kinds.append(kindText(all.at(r.candidate).kind));
        QCOMPARE(kinds, (QStringList{"Agent", "Conversation", "Conversation", "Conversation",
                                     "Visitor", "Go to", "Action"}));

        const auto shipping = search(all, u"shipping"_qs);
        QCOMPARE(titles(all, shipping), (QStringList{u"Sven"_qs, u"Mette"_qs}));
        QVERIFY(shipping[0].titleMarks.isEmpty() && shipping[0].detailMarks.isEmpty()); // a tag
        QCOMPARE(shipping[1].detailMarks.first(), 3);
        QCOMPARE(titles(all, search(all, u"nordic"_qs)), QStringList{u"Shop Assistant"_qs});

        // Nothing typed: the places and actions only.
        QCOMPARE(titles(all, search(all, u"   "_qs)),
                 (QStringList{u"Settings"_qs, u"Sign out"_qs}));
    }
};

QTEST_GUILESS_MAIN(TestSwitcherRules)
#include "tst_switcherrules.moc"
