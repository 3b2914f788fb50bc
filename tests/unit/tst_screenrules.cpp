// The rules of the conversations workspace, without a window: names and
// initials, the visitor lines, the inbox's filter, order and texts, the
// snippet picker, the translation menu, the sidebar's agent list, safe
// Markdown and links, and the enumeration names QML sees.

#include "InboxRules.h"
#include "Kinds.h"
#include "LinkPolicy.h"
#include "MarkdownText.h"
#include "PeopleText.h"
#include "SidebarRules.h"
#include "SnippetRules.h"
#include "TranslationMenu.h"
#include "UiTexts.h"
#include "VisitorLabels.h"

#include <QMetaEnum>
#include <QTest>

using namespace kv;

namespace {

Conversation conversation(const char* id, ConversationStatus status, qint64 at) {
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
        QCOMPARE(visitor::timeOnSite(45), u"45s on site"_qs);
        QCOMPARE(visitor::timeOnSite(0), u"0s on site"_qs);
        QCOMPARE(visitor::timeOnSite(-5), u"-5s on site"_qs);
        QCOMPARE(visitor::timeOnSite(60), u"1m on site"_qs);
        QCOMPARE(visitor::timeOnSite(61), u"1m 1s on site"_qs);
        QCOMPARE(visitor::timeOnSite(3599), u"59m 59s on site"_qs);
        QCOMPARE(visitor::timeOnSite(3600), u"1h 0m on site"_qs);
        QCOMPARE(visitor::timeOnSite(3725), u"1h 2m on site"_qs);
        const QStringList ordinals{"1st",  "2nd",  "3rd",   "4th",   "11th",  "12th",  "13th",
                                   "21st", "22nd", "101st", "111th", "112th", "1000th"};
        const QList<qint64> numbers{1, 2, 3, 4, 11, 12, 13, 21, 22, 101, 111, 112, 1000};
        for (qsizetype i = 0; i < numbers.size(); ++i)
            QCOMPARE(visitor::ordinal(numbers[i]), ordinals[i]);

        Visitor v;
        QCOMPARE(visitor::location(v, visitor::Panel::context), u"Unknown"_qs);
        QCOMPARE(visitor::location(v, visitor::Panel::detail), u"Unknown location"_qs);
        v.city = "Aarhus";
        QCOMPARE(visitor::location(v, visitor::Panel::context), u"Unknown"_qs); // city alone
        v.country = "DK";
        QCOMPARE(visitor::location(v, visitor::Panel::context), u"Aarhus, DK"_qs);
        QCOMPARE(visitor::browser(v), u"Unknown browser"_qs);
        v.os = "Linux";
        QCOMPARE(visitor::browser(v), u"Unknown browser"_qs);
        v.browser = "Firefox";
        QCOMPARE(visitor::browser(v), u"Firefox · Linux"_qs);

        QCOMPARE(visitor::returning(v), u"First-time visitor"_qs);
        v.isReturning = true;
        QCOMPARE(visitor::returning(v), u"Returning · 1st visit"_qs);
        v.previousConversations = 10;
        QCOMPARE(visitor::returning(v), u"Returning · 11th visit"_qs);

        QCOMPARE(visitor::referrerLine(v, visitor::Panel::context), QString()); // none
        v.referrer = "";
        QCOMPARE(visitor::referrerLine(v, visitor::Panel::context), u"From "_qs);
        QCOMPARE(visitor::referrerLine(v, visitor::Panel::detail), QString());

        QCOMPARE(visitor::scoreBand(0.8), visitor::ScoreBand::good);
        QCOMPARE(visitor::scoreBand(0.6), visitor::ScoreBand::fair);
        QCOMPARE(visitor::scoreBand(0.59999), visitor::ScoreBand::weak);
        QCOMPARE(visitor::scoreText(0.756), u"0.76"_qs);
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
        QCOMPARE(titles(sidebar::rows(in)),
                 (QStringList{"All AI Agents", "🛒 Acme Inc", "Acme Shop"}));

        QCOMPARE(sidebar::inboxBadge(projects, u"p2"_qs), 3);
        QCOMPARE(sidebar::inboxBadge(projects, u"gone"_qs), 5); // falls back to the total
        QCOMPARE(sidebar::inboxBadge(projects, std::nullopt), 5);
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
    void kindsNameEveryCase() {
        Kinds kinds;
        const QMetaObject* meta = kinds.metaObject();
        const QHash<QString, QString> renamed{{"AppearancePreference.system", "systemAppearance"},
                                              {"MessageRole.system", "systemRole"}};
        for (const QMetaEnum e :
             {QMetaEnum::fromType<AuthStatus>(), QMetaEnum::fromType<AppSection>(),
              QMetaEnum::fromType<ConnectionState>(), QMetaEnum::fromType<LoadState>(),
              QMetaEnum::fromType<AppearancePreference>(),
              QMetaEnum::fromType<FontSizePreference>(), QMetaEnum::fromType<ConversationStatus>(),
              QMetaEnum::fromType<MessageRole>(), QMetaEnum::fromType<NotificationPermission>()}) {
            for (int i = 0; i < e.keyCount(); ++i) {
                const QString key = QString::fromLatin1(e.key(i));
                const QString name = renamed.value(QString::fromLatin1(e.name()) + u'.' + key, key);
                const int property = meta->indexOfProperty(name.toLatin1().constData());
                QVERIFY2(property >= 0, qPrintable(name));
                QCOMPARE(meta->property(property).read(&kinds).toInt(), e.value(i));
            }
        }
    }
};

QTEST_GUILESS_MAIN(TestScreenRules)
#include "tst_screenrules.moc"
