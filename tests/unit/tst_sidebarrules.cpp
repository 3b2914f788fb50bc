// The sidebar's rows without a window: projects alone, grouped by client,
// and searched.

#include "SidebarRules.h"
#include "TestLocale.h"

#include <QTest>

using namespace kv;

namespace {

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

class TestSidebarRules : public QObject {
    Q_OBJECT

private slots:
    // Run again under a desktop locale that writes "0,76" (the _de run): the
    // numbers the screens show keep their ".".
    void initTestCase() {
        QVERIFY2(kv::test::requestedLocaleApplies(),
                 "the de_DE.UTF-8 locale is not installed (scripts/install-deps generates it)");
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
};

QTEST_GUILESS_MAIN(TestSidebarRules)
#include "tst_sidebarrules.moc"
