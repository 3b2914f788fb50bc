// The rules of the conversations workspace, without a window: names and
// initials, the visitor lines, the inbox's filter, order and texts, the
// snippet picker, the translation menu, the sidebar's agent list, safe
// Markdown and links, and the enumeration names QML sees.

#include "BubbleText.h"
#include "InboxRules.h"
#include "LinkPolicy.h"
#include "MarkdownText.h"
#include "PeopleText.h"
#include "QmlEnums.h"
#include "SidebarRules.h"
#include "SnippetRules.h"
#include "StatsRules.h"
#include "TranslationMenu.h"
#include "UiTexts.h"
#include "VisitorRules.h"

#include "TestLocale.h"
#include <QMetaEnum>

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

Snippet snippet(const char* shortcut, const char* title, const char* body) {
    return Snippet{QString::fromUtf8(shortcut), QString::fromUtf8(shortcut),
                   QString::fromUtf8(title), QString::fromUtf8(body), QStringLiteral("💬")};
}

Project project(const char* id, const char* name, std::optional<QString> client = {},
                qint64 unread = 0, qint64 live = 0) {
    Project p;
    p.id = id;
    p.name = QString::fromUtf8(name);
    p.emoji = "🤖";
    p.clientID = std::move(client);
    p.unreadCount = unread;
    p.liveVisitorCount = live;
    return p;
}

QStringList titles(const QList<sidebar::Row>& rows) {
    QStringList out;
    for (const auto& r : rows)
        out.append(r.title);
    return out;
}

} // namespace

class TestScreenRules : public QObject {
    Q_OBJECT

private slots:
    void initTestCase() {
        QVERIFY2(kv::test::requestedLocaleApplies(),
                 "the de_DE.UTF-8 locale is not installed (scripts/install-deps generates it)");
    }

    void initials() {
        QCOMPARE(people::initials("mette hansen"), u"MH"_qs);
        QCOMPARE(people::initials("anna  maria  lund"), u"AM"_qs); // empty pieces dropped
        QCOMPARE(people::initials("Zoë"), u"Z"_qs);
        QCOMPARE(people::initials("   "), QString());
        QCOMPARE(people::initials("👩‍💻 dev"),
                 u"👩‍💻D"_qs); // one perceived character
        QCOMPARE(people::visitorInitials(std::nullopt), u"?"_qs);
        QCOMPARE(people::visitorName(std::nullopt), u"Anonymous visitor"_qs);
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

    void snippetPicker() {
        const QList<Snippet> all{snippet("hello", "Greeting", "Hi there!"),
                                 snippet("ship", "Shipping times", "We ship in 2 days."),
                                 snippet("refund", "Refunds and HELLO", "Refunds take 5 days.")};
        QCOMPARE(snippets::matching("/", all).size(), 3);
        QCOMPARE(snippets::matching("  /HE", all).size(), 2); // shortcut, then title, in order
        QCOMPARE(snippets::matching("/he", all)[1].shortcut, u"refund"_qs);
        QCOMPARE(snippets::matching("/ship later", all).size(), 1);
        QVERIFY(snippets::matching("hi /hello", all).isEmpty());
        QVERIFY(snippets::matching("\n/hello", all).isEmpty()); // a line break is not trimmed
        QCOMPARE(snippets::matchCount(1), u"1 match"_qs);
        QCOMPARE(snippets::matchCount(3), u"3 matches"_qs);

        QCOMPARE(snippets::insert("  /he world", all[0]), u"Hi there! world"_qs);
        QCOMPARE(snippets::insert("/he", all[0]), u"Hi there!"_qs);
        QCOMPARE(snippets::insert("Thanks ", all[1]), u"Thanks \n\nWe ship in 2 days."_qs);
        QCOMPARE(snippets::insert("", all[1]), u"We ship in 2 days."_qs);
        QCOMPARE(snippets::menuEntry(all[0]), u"💬 Greeting  /hello"_qs);

        QCOMPARE(snippets::sendable("  \n hi \n"), u"hi"_qs);
        QVERIFY(snippets::sendable(" \n\t ").isEmpty());
        QCOMPARE(snippets::withoutCommand("/he world"), u"world"_qs);
        QCOMPARE(snippets::withoutCommand("/he"), QString());
        QCOMPARE(snippets::withoutCommand("plain"), u"plain"_qs);
    }

    void translationMenu() {
        const auto entries = translation::menuEntries("da");
        QCOMPARE(entries.first().label, u"Default (Danish)"_qs);
        QCOMPARE(entries.first().code, std::nullopt);
        QCOMPARE(entries[1].label, u"Match system language"_qs);
        QCOMPARE(entries[1].code, std::nullopt);
        QCOMPARE(entries.size(), 1 + allTranslationLanguages().size());
        const auto norwegian = std::find_if(entries.begin(), entries.end(),
                                            [](const auto& e) { return e.label == u"Norwegian"; });
        QCOMPARE(norwegian->code, std::optional<QString>(u"nb"_qs));
        QCOMPARE(translation::defaultLabel(""), u"Match system language"_qs);
        QCOMPARE(translation::defaultLabel("klingon"), u"Match system language"_qs);

        Message m;
        m.role = MessageRole::system;
        m.content = "Chat started";
        QVERIFY(!translation::translatable(m));
        m.role = MessageRole::user;
        m.content = " \n ";
        QVERIFY(!translation::translatable(m));
        m.content = "Hej";
        QVERIFY(translation::translatable(m));
        QCOMPARE(translation::menuTitle(m), u"Translate"_qs);
        m.translation = "Hi";
        QCOMPARE(translation::menuTitle(m), u"Translate to…"_qs);
        QCOMPARE(translation::toggleLabel(m, false), u"Show translation"_qs);
        m.detectedLanguage = "nb";
        QCOMPARE(translation::toggleLabel(m, false), u"Translated from NB"_qs);
        m.detectedLanguage = "da";
        QCOMPARE(translation::toggleLabel(m, false), u"Translated from Danish"_qs);
        QCOMPARE(translation::toggleLabel(m, true), u"Show original"_qs);
    }

    void sidebarRows() {
        const QList<Project> projects{project("p1", "Acme Shop", "c1", 2, 1),
                                      project("p2", "Beta Blog", std::nullopt, 3, 4),
                                      project("p3", "Gamma Gear", "c2")};
        const QList<Client> clients{{"c2", "Gamma Group", std::nullopt},
                                    {"c1", "Acme Inc", "🛒"},
                                    {"c9", "Nobody", std::nullopt}};
        QCOMPARE(sidebar::filteredProjects(projects, "shop").size(), 1);
        QCOMPARE(sidebar::filteredProjects(projects, "SHOP").size(), 1);
        QCOMPARE(sidebar::filteredProjects(projects, " ").size(), 3); // contains a space

        sidebar::Input in{projects, clients, false, std::nullopt, QString(), {}};
        auto rows = sidebar::rows(in);
        QCOMPARE(titles(rows),
                 (QStringList{"All AI Agents", "Acme Shop", "Beta Blog", "Gamma Gear"}));
        QCOMPARE(rows[0].unreadCount, 5);
        QCOMPARE(rows[0].liveCount, 5);
        QVERIFY(rows[0].isSelected);

        in.agencyUser = true;
        in.expandedClients = {"c1"};
        rows = sidebar::rows(in);
        QCOMPARE(titles(rows), (QStringList{"All AI Agents", "INTERNAL", "Beta Blog",
                                            "📁 Gamma Group", "🛒 Acme Inc", "Acme Shop"}));
        QVERIFY(rows[5].indented && !rows[2].indented);
        QCOMPARE(rows[1].count, 1);
        QVERIFY(rows[4].expanded && !rows[3].expanded);

        in.search = "acme"; // Gamma Group matches nothing now and disappears
        rows = sidebar::rows(in);
        QCOMPARE(titles(rows), (QStringList{"All AI Agents", "🛒 Acme Inc", "Acme Shop"}));
        // The whole account still counts in "All AI Agents", hidden agents too.
        QCOMPARE(rows[0].unreadCount, 5);
        QCOMPARE(rows[0].liveCount, 5);
        in.agencyUser = false;
        in.search = "beta";
        rows = sidebar::rows(in);
        QCOMPARE(titles(rows), (QStringList{"All AI Agents", "Beta Blog"}));
        QCOMPARE(rows[0].unreadCount, 5);
        QCOMPARE(rows[0].liveCount, 5);

        QCOMPARE(sidebar::inboxBadge(projects, u"p2"_qs), 3);
        QCOMPARE(sidebar::inboxBadge(projects, u"gone"_qs), 5); // falls back to the total
        QCOMPARE(sidebar::inboxBadge(projects, std::nullopt), 5);
    }

    // A bubble lays out at most its limit, never half a character, and says when it cut.
    void bubbleTextIsCutBetweenCharacters() {
        const QString fits(bubble::kShownCharacters, u'a');
        QCOMPARE(bubble::shownPart(fits), fits);
        QCOMPARE(bubble::shortenedNote(fits), QString());

        const QString longer = fits + u'b';
        QCOMPARE(bubble::shownPart(longer), fits + u'…');
        QCOMPARE(bubble::shortenedNote(longer), u"Shortened — 20,001 characters in all"_qs);

        // An emoji (two UTF-16 units) across the limit is left out whole.
        const QString straddling = QString(bubble::kShownCharacters - 1, u'a') + u"😀 and more"_qs;
        const QString shown = bubble::shownPart(straddling);
        QCOMPARE(shown, QString(bubble::kShownCharacters - 1, u'a') + u'…');
        QVERIFY(!shown.at(shown.size() - 2).isHighSurrogate());
    }

    void markdownIsSafe() {
        const QString html = markdown::toRichText(
            "**bold** and [site](https://example.com) ![tracker](https://evil.example/p.png) "
            "<img src=\"https://evil.example/x.png\"> <b>raw</b>",
            QColor("#123456"));
        QVERIFY(html.contains("<a href=\"https://example.com\">"));
        QVERIFY(!html.contains("<img"));
        QVERIFY(html.contains("<a href=\"https://evil.example/p.png\">")); // the image, as a link
        QVERIFY(!html.contains("<b>raw</b>"));
        QVERIFY(!html.contains("font-size"));
        QVERIFY(html.contains("#123456")); // links in the colour asked for

        QVERIFY(links::isSafeMessageLink(QUrl("https://example.com/a")));
        QVERIFY(links::isSafeMessageLink(QUrl("mailto:help@example.com")));
        QVERIFY(!links::isSafeMessageLink(QUrl("file:///etc/passwd")));
        QVERIFY(!links::isSafeMessageLink(QUrl("javascript:alert(1)")));
        QVERIFY(!links::isSafeMessageLink(QUrl("kestovar://project/p1")));
        QVERIFY(links::isWebPage(QUrl("HTTP://Example.com")));
        QVERIFY(!links::isWebPage(QUrl("mailto:help@example.com")));
        QVERIFY(!links::isWebPage(QUrl("—")));
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

    void statsTexts() {
        QCOMPARE(stats::deltaText(5, 0), std::nullopt);
        QCOMPARE(stats::deltaText(5, -3), std::nullopt);
        QCOMPARE(stats::deltaText(12, 10), u"↑ 20%"_qs);
        QCOMPARE(stats::deltaText(9, 10), u"↓ 10%"_qs);
        QCOMPARE(stats::deltaText(10, 10), u"—"_qs);
        QCOMPARE(stats::deltaText(4, 3), u"↑ 33%"_qs);
        QCOMPARE(stats::deltaText(1000, 1001), u"—"_qs); // −0.09 % rounds toward zero
        QCOMPARE(stats::deltaText(0, 7), u"↓ 100%"_qs);
        QCOMPARE(stats::deltaText(129, 100), u"↑ 29%"_qs); // not 28 from 28.999…

        QCOMPARE(stats::resolutionRate(0.429), u"42%"_qs);
        QCOMPARE(stats::resolutionRate(0.29), u"29%"_qs);
        QCOMPARE(stats::resolutionRate(0), u"0%"_qs);
        QCOMPARE(stats::resolutionRate(1), u"100%"_qs);

        QCOMPARE(stats::filledStars(3.0), 3);
        QCOMPARE(stats::filledStars(3.5), 4);
        QCOMPARE(stats::filledStars(4.2), 5);
        QCOMPARE(stats::filledStars(std::nullopt), 0);
        QCOMPARE(stats::averageText(4.25), u"4.2"_qs);
        QCOMPARE(stats::averageText(std::nullopt), u"0.0"_qs);

        QCOMPARE(stats::axisTop(0), 4);
        QCOMPARE(stats::axisTop(5), 8);
        QCOMPARE(stats::axisTop(9), 20);
        QCOMPARE(stats::axisTop(100), 100);
        QCOMPARE(stats::axisTop(450), 500);
        QCOMPARE(stats::axisTop(3'000'000'000'000), std::numeric_limits<int>::max());

        // The chart's line passes through every day's count, never swings past its
        // neighbours (nor below zero) between them, and the area closes on the axis.
        const QList<double> counts{0, 10, 10, 2, 0, 8};
        const QSizeF plot(500, 100);
        const QList<QPointF> line = stats::smoothCurve(counts, 20, plot, 8);
        QCOMPARE(line.size(), 5 * 8 + 1);
        for (qsizetype day = 0; day < counts.size(); ++day) {
            QCOMPARE(line[day * 8].x(), day * 100.0);
            QCOMPARE(line[day * 8].y(), 100 * (1 - counts[day] / 20));
        }
        for (qsizetype i = 0; i + 1 < line.size(); ++i) {
            const qsizetype day = i / 8;
            const double low = 100 * (1 - std::max(counts[day], counts[day + 1]) / 20);
            const double high = 100 * (1 - std::min(counts[day], counts[day + 1]) / 20);
            QVERIFY2(line[i].y() >= low - 1e-9 && line[i].y() <= high + 1e-9,
                     qPrintable(QString::number(i)));
        }
        const QList<QPointF> area = stats::areaUnder(line, plot);
        QCOMPARE(area.size(), line.size() + 3);
        QCOMPARE(area[area.size() - 3], QPointF(500, 100));
        QCOMPARE(area[area.size() - 2], QPointF(0, 100));
        QCOMPARE(stats::smoothCurve({5}, 10, plot), (QList<QPointF>{{0, 50}, {500, 50}}));
        QVERIFY(stats::smoothCurve({}, 10, plot).isEmpty());
        QVERIFY(stats::areaUnder({}, plot).isEmpty());

        QCOMPARE(stats::labelStride(7), 1);
        QCOMPARE(stats::labelStride(8), 1);
        QCOMPARE(stats::labelStride(30), 3);
        QCOMPARE(stats::labelStride(90), 11);
        // The service's day, whatever the operator's zone.
        QCOMPARE(stats::dayLabel(QDateTime(QDate(2026, 12, 3), QTime(0, 0), Qt::UTC)), u"Dec 3"_qs);

        QCOMPARE(stats::headerSubtitle(false, true, 30), u"Loading…"_qs);
        QCOMPARE(stats::headerSubtitle(true, false, 30), u"Couldn’t load stats"_qs);
        QCOMPARE(stats::headerSubtitle(false, false, 30), u"Last 30 days"_qs);
    }

    void snippetEditorRules() {
        const auto saved = snippets::forSave({" \n booking\t", "  ", "\n Hello there \n", ""});
        QCOMPARE(saved.shortcut, u"booking"_qs);
        QCOMPARE(saved.title, QString()); // an empty title is allowed
        QCOMPARE(saved.body, u"Hello there"_qs);
        QCOMPARE(saved.emoji, u"💬"_qs);
        QCOMPARE(snippets::forSave({"a", "b", "c", " 👋 "}).emoji, u" 👋 "_qs); // not trimmed
        QVERIFY(!snippets::canSave(" \n\t "));
        QVERIFY(snippets::canSave(" x "));
        QCOMPARE(snippets::listTitle(""), u"(untitled)"_qs);
        QCOMPARE(snippets::listTitle("Hours"), u"Hours"_qs);
        QCOMPARE(UiTexts::snippetNotSaved("forbidden"), u"Snippet not saved: forbidden"_qs);
        QCOMPARE(UiTexts::versionLine("1.4.2", "87"), u"Version 1.4.2 · Build 87"_qs);
    }

    // Each enumeration QML sees has exactly the state's cases, capitalised, at the same values.
    void qmlEnumerationsNameEveryCase() {
        namespace q = qmlenums;
        const QList<std::pair<QMetaEnum, QMetaEnum>> twins{
            {QMetaEnum::fromType<AuthStatus>(), QMetaEnum::fromType<q::AuthStatus::Value>()},
            {QMetaEnum::fromType<AppSection>(), QMetaEnum::fromType<q::AppSection::Value>()},
            {QMetaEnum::fromType<ConnectionState>(),
             QMetaEnum::fromType<q::ConnectionState::Value>()},
            {QMetaEnum::fromType<LoadState>(), QMetaEnum::fromType<q::LoadState::Value>()},
            {QMetaEnum::fromType<AppearancePreference>(),
             QMetaEnum::fromType<q::AppearancePreference::Value>()},
            {QMetaEnum::fromType<FontSizePreference>(),
             QMetaEnum::fromType<q::FontSizePreference::Value>()},
            {QMetaEnum::fromType<ConversationStatus>(),
             QMetaEnum::fromType<q::ConversationStatus::Value>()},
            {QMetaEnum::fromType<MessageRole>(), QMetaEnum::fromType<q::MessageRole::Value>()},
            {QMetaEnum::fromType<NotificationPermission>(),
             QMetaEnum::fromType<q::NotificationPermission::Value>()},
        };
        for (const auto& [state, qml] : twins) {
            QCOMPARE(qml.keyCount(), state.keyCount());
            for (int i = 0; i < state.keyCount(); ++i) {
                QByteArray key(state.key(i));
                key[0] = char(std::toupper(static_cast<unsigned char>(key[0])));
                bool found = false;
                QCOMPARE(qml.keyToValue(key.constData(), &found), state.value(i));
                QVERIFY2(found, qPrintable(QString::fromLatin1(state.name()) + u'.' + key));
            }
        }
    }
};

QTEST_GUILESS_MAIN(TestScreenRules)
#include "tst_screenrules.moc"
