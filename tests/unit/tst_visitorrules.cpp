// How a visitor is described: the panels' lines, the live list's texts, and
// which groups are open.

#include "LinkPolicy.h"
#include "TestLocale.h"
#include "UiTexts.h"
#include "VisitorRules.h"

#include <QTest>

using namespace kv;

class TestVisitorRules : public QObject {
    Q_OBJECT

private slots:
    // Run again under a desktop locale that writes "0,76" (the _de run): the
    // numbers the screens show keep their ".".
    void initTestCase() {
        QVERIFY2(kv::test::requestedLocaleApplies(),
                 "the de_DE.UTF-8 locale is not installed (scripts/install-deps generates it)");
    }

    void visitorLines() {
        QCOMPARE(visitors::timeOnSite(45), u"45s on site"_qs);
        QCOMPARE(visitors::timeOnSite(0), u"0s on site"_qs);
        QCOMPARE(visitors::timeOnSite(-5), u"-5s on site"_qs);
        QCOMPARE(visitors::timeOnSite(60), u"1m on site"_qs);
        QCOMPARE(visitors::timeOnSite(61), u"1m 1s on site"_qs);
        QCOMPARE(visitors::timeOnSite(3599), u"59m 59s on site"_qs);
        QCOMPARE(visitors::timeOnSite(3600), u"1h 0m on site"_qs);
        QCOMPARE(visitors::timeOnSite(3725), u"1h 2m on site"_qs);
        const QStringList ordinals{"1st",  "2nd",  "3rd",   "4th",   "11th",  "12th",  "13th",
                                   "21st", "22nd", "101st", "111th", "112th", "1000th"};
        const QList<qint64> numbers{1, 2, 3, 4, 11, 12, 13, 21, 22, 101, 111, 112, 1000};
        for (qsizetype i = 0; i < numbers.size(); ++i)
            QCOMPARE(visitors::ordinal(numbers[i]), ordinals[i]);

        Visitor v;
        QCOMPARE(visitors::location(v, visitors::Panel::context), u"Unknown"_qs);
        QCOMPARE(visitors::location(v, visitors::Panel::detail), u"Unknown location"_qs);
        v.city = "Aarhus";
        QCOMPARE(visitors::location(v, visitors::Panel::context), u"Unknown"_qs); // city alone
        v.country = "DK";
        QCOMPARE(visitors::location(v, visitors::Panel::context), u"Aarhus, DK"_qs);
        QCOMPARE(visitors::browser(v), u"Unknown browser"_qs);
        v.os = "Linux";
        QCOMPARE(visitors::browser(v), u"Unknown browser"_qs);
        v.browser = "Firefox";
        QCOMPARE(visitors::browser(v), u"Firefox · Linux"_qs);

        QCOMPARE(visitors::returning(v), u"First-time visitor"_qs);
        v.isReturning = true;
        QCOMPARE(visitors::returning(v), u"Returning · 1st visit"_qs);
        v.previousConversations = 10;
        QCOMPARE(visitors::returning(v), u"Returning · 11th visit"_qs);

        QCOMPARE(visitors::referrerLine(v, visitors::Panel::context), QString()); // none
        v.referrer = "";
        QCOMPARE(visitors::referrerLine(v, visitors::Panel::context), u"From "_qs);
        QCOMPARE(visitors::referrerLine(v, visitors::Panel::detail), QString());

        QCOMPARE(visitors::scoreBand(0.8), visitors::ScoreBand::good);
        QCOMPARE(visitors::scoreBand(0.6), visitors::ScoreBand::fair);
        QCOMPARE(visitors::scoreBand(0.59999), visitors::ScoreBand::weak);
        QCOMPARE(visitors::scoreText(0.756), u"0.76"_qs);
    }

    // Every case of every enumeration QML uses has its constant, with its value.
    void liveVisitorTexts() {
        auto visitor = [](bool chatting) {
            Visitor v;
            v.hasConversation = chatting;
            return v;
        };
        QCOMPARE(visitors::subtitle({}), u"Updates every 5 seconds"_qs);
        QCOMPARE(visitors::subtitle({visitor(false), visitor(false)}), u"2 browsing now"_qs);
        QCOMPARE(
            visitors::subtitle({visitor(false), visitor(true), visitor(false), visitor(false)}),
            u"4 browsing · 1 chatting"_qs);

        // The list's short time drops the seconds past a minute.
        QCOMPARE(visitors::timeOnSiteShort(59), u"59s"_qs);
        QCOMPARE(visitors::timeOnSiteShort(60), u"1m"_qs);
        QCOMPARE(visitors::timeOnSiteShort(119), u"1m"_qs);
        QCOMPARE(visitors::timeOnSiteShort(3725), u"1h 2m"_qs);

        Visitor v;
        v.pagesThisSession = 1;
        v.timeOnSiteSeconds = 245;
        QCOMPARE(visitors::rowTitle(v), u"Browsing"_qs);
        QCOMPARE(visitors::journeyLine(v), u"First-time · 4m · 1 page"_qs);
        v.city = "";
        QCOMPARE(visitors::journeyLine(v),
                 u"First-time · 4m · 1 page"_qs); // an empty city is left out
        v.city = "Lyon";
        v.isReturning = true;
        v.previousConversations = 2;
        v.pagesThisSession = 0;
        v.pageTitle = "Pricing";
        QCOMPARE(visitors::rowTitle(v), u"Pricing"_qs);
        QCOMPARE(visitors::journeyLine(v), u"Lyon · Returning (3) · 4m · 0 pages"_qs);

        Project p;
        p.name = "Northwind";
        QCOMPARE(visitors::hostText(std::nullopt), QString());
        QCOMPARE(visitors::groupName(std::nullopt), u"Other"_qs);
        QCOMPARE(visitors::groupName(p), u"Northwind"_qs);
        QCOMPARE(visitors::hostText(p), QString()); // no website
        p.websiteURL = "https://shop.northwind.example/de/";
        QCOMPARE(visitors::hostText(p), u"shop.northwind.example"_qs);
        p.websiteURL = "northwind.example/help";
        QCOMPARE(visitors::hostText(p), u"northwind.example/help"_qs); // no scheme: as stored
        p.websiteURL = "http://https://odd";
        QCOMPARE(links::withoutScheme(p.websiteURL), u"odd"_qs);

        // What a screen reader hears of a group header: its host too, and one visitor as one.
        p.websiteURL = "https://northwind.example";
        QCOMPARE(visitors::groupHeaderName(p, 1, false),
                 u"Northwind, northwind.example, 1 visitor, collapsed"_qs);
        QCOMPARE(visitors::groupHeaderName(std::nullopt, 3, true),
                 u"Other, 3 visitors, expanded"_qs);
    }

    void groupExpansion() {
        visitors::GroupExpansion groups;
        const QStringList three{"p1", "p2", ""};
        QVERIFY(!groups.allExpanded({})); // no groups: never "all expanded"
        QVERIFY(!groups.allExpanded(three));
        QCOMPARE(visitors::toggleAllButton(false).label, u"Expand all"_qs);
        groups.toggleAll(three);
        QVERIFY(groups.allExpanded(three));
        QCOMPARE(visitors::toggleAllButton(true).label, u"Collapse all"_qs);
        QCOMPARE(visitors::toggleAllButton(true).symbol, u"chevron.up"_qs);
        QCOMPARE(visitors::toggleAllButton(true).tooltip, u"Collapse every agent"_qs);
        QCOMPARE(visitors::toggleAllButton(false).tooltip, u"Show visitors for every agent"_qs);
        groups.toggleAll(three);
        QVERIFY(!groups.isExpanded("p1") && !groups.isExpanded(""));

        // Two of three by hand is not all; the third makes it so.
        groups.toggle("p1");
        groups.toggle("p2");
        QVERIFY(!groups.allExpanded(three));
        groups.toggle("");
        QVERIFY(groups.allExpanded(three));
        // A group that went away stays open for when it comes back.
        QVERIFY(groups.allExpanded({"p1", "p2"}));
        groups.toggle("p2");
        QVERIFY(!groups.isExpanded("p2"));
        QVERIFY(groups.isExpanded("p1"));
    }
};

QTEST_GUILESS_MAIN(TestVisitorRules)
#include "tst_visitorrules.moc"
