// The sidebar and the inbox through the real window against the simulated
// service: agents listed and picked, the status filter and the subtitle, a
// list that cannot be read (said over what still shows, the draft kept), and
// a hundred thousand conversations.

#include "Await.h"
#include "InboxRules.h"
#include "KeyboardShortcuts.h"
#include "ScopedTiming.h"
#include "TextMatch.h"
#include "WorkspaceWorld.h"
#include <QAbstractItemModel>
#include <QAccessible>
#include <QClipboard>
#include <QGuiApplication>
#include <QJsonDocument>
#include <QJsonObject>
#include <QKeySequence>
#include <QQuickItem>
#include <QQuickWindow>
#include <QTest>
#include <QtQml/qqmlextensionplugin.h>

Q_IMPORT_QML_PLUGIN(KestovarPlugin)

using namespace kv;
using kv::test::await;
using kv::test::ScopedTiming;
using namespace std::chrono_literals;
using kv::test::UiHarness;

class TestInboxView : public kv::test::WorkspaceWorld {
    Q_OBJECT

private slots:
    void sidebarListsAndSelectsAgents() {
        QQuickItem* agents = find("projectList");
        // The simulated user is an agency: "All AI Agents", the ungrouped agents under
        // "INTERNAL", then the clients, closed.
        QTRY_VERIFY(agents->property("count").toInt() >= 4);
        QCOMPARE(UiHarness::text(find("projectsUnread")->findChildren<QObject*>().first()),
                 QString::number(ui->state().unreadTotal()));

        QObject* search = find("projectSearch");
        search->setProperty("text", "café");
        QMetaObject::invokeMethod(search, "textEdited", Q_ARG(QString, "café"));
        QTRY_COMPARE(agents->property("count").toInt(), 3); // all, INTERNAL, Café Lumière
        search->setProperty("text", "");
        QMetaObject::invokeMethod(search, "textEdited", Q_ARG(QString, ""));
        QTRY_VERIFY(agents->property("count").toInt() > 3);

        // Picking an agent shows only its conversations.
        selectProject(u"p2"_qs);
        QTRY_COMPARE(UiHarness::text(find("projectInView")), ui->state().project("p2")->name);
        QCOMPARE(find("conversationList")->property("count").toInt(), 6);
    }

    void filterAndSubtitle() {
        QObject* subtitle = find("contentSubtitle");
        const auto& all = ui->state().conversations();
        const auto waiting = std::count_if(all.begin(), all.end(), [](const Conversation& c) {
            return c.status == ConversationStatus::waiting;
        });
        QTRY_COMPARE(UiHarness::text(subtitle),
                     QStringLiteral("%1 total · %2 need reply").arg(all.size()).arg(waiting));
        QVERIFY(UiHarness::click(find("filterNeedsreply")));
        QTRY_COMPARE(UiHarness::text(subtitle),
                     QStringLiteral("%1 of %2 matches 'Needs reply'").arg(waiting).arg(all.size()));
        QTRY_COMPARE(find("conversationList")->property("count").toInt(), int(waiting));

        // An agent with none resolved: the empty state names the filter.
        ui->sim().withData([](sim::SimData& d) {
            for (auto& c : d.conversations) {
                if (c.projectId == u"p3" && c.status == u"resolved")
                    c.status = "active";
            }
            return 0;
        });
        selectProject(u"p3"_qs);
        QVERIFY(UiHarness::click(find("filterResolved")));
        QTRY_VERIFY(find("inboxEmpty")->isVisible());
        QTRY_COMPARE(UiHarness::text(subtitle), u"0 of 6 matches 'Resolved'"_qs);
        QVERIFY(UiHarness::click(find("filterAll")));
        QTRY_VERIFY(!find("inboxEmpty")->isVisible());
    }

    // An agent's list that cannot be read says why in place of the rows (never
    // "no conversations"), offers Retry, and the half-written reply waits in
    // its conversation.
    void anUnreadableListSaysWhyAndKeepsTheDraft_data() {
        QTest::addColumn<int>("kind");
        QTest::addColumn<QByteArray>("body");
        QTest::addColumn<QString>("reason");
        using K = sim::Fault::Kind;
        QTest::newRow("server error")
            << int(K::status) << QByteArray(R"({"error":"boom"})") << u"HTTP 500"_qs;
        QTest::newRow("not JSON") << int(K::malformed) << QByteArray() << u"valid JSON"_qs;
        QTest::newRow("wrong types") << int(K::mistyped) << QByteArray() << u"not text"_qs;
        QTest::newRow("cut off") << int(K::truncated) << QByteArray() << QString();
        QTest::newRow("10 000 levels deep")
            << int(K::status) << QByteArray(10'000, '[') + QByteArray(10'000, ']')
            << u"valid JSON"_qs;
        QTest::newRow("conversations not a list")
            << int(K::status) << QByteArray(R"({"conversations":{"id":7}})") << u"array"_qs;
        // A whole, well-typed conversation whose visitor name holds a cut-off character.
        QTest::newRow("invalid UTF-8")
            << int(K::status)
            << QByteArray("{\"conversations\":[{\"id\":\"c_1\",\"project_id\":\"p2\","
                          "\"status\":\"waiting\",\"last_message_preview\":\"Hi\","
                          "\"message_count\":1,\"has_unread\":true,\"tags\":[],"
                          "\"ai_retrieved_chunks\":[],\"visitor_name\":\"Jos\xC3\"}]}")
            << u"invalid UTF8"_qs;
        QTest::newRow("50 MB body")
            << int(K::oversized) << QByteArray() << u"larger than 32 MiB"_qs;
        QTest::newRow("endless body")
            << int(K::endless) << QByteArray() << u"did not complete within 3 s"_qs;
    }
    void anUnreadableListSaysWhyAndKeepsTheDraft() {
        QFETCH(int, kind);
        QFETCH(QByteArray, body);
        QFETCH(QString, reason);
        // A body that never ends is given up well before the real deadline.
        const ScopedTiming deadline([](Timing& t) { t.requestDeadline = 3s; });
        const QString id = conversationWith("waiting", "p2");
        selectProject(u"p2"_qs); // no good answer still in flight lands after the broken one
        open(id);
        type(u"Half-written reply"_qs);

        sim::Fault broken;
        broken.kind = sim::Fault::Kind(kind);
        broken.method = "GET";
        broken.path = "/api/v2/projects/p2/conversations";
        broken.status = body.startsWith(R"({"error")") ? 500 : 200;
        broken.body = body;
        ui->sim().addFault(broken);
        await(ui->state().loadConversations(u"p2"_qs));
        QTRY_VERIFY(find("inboxRetry")->isVisible());
        QVERIFY(!ui->state().conversationsError().isEmpty());
        QVERIFY2(ui->state().conversationsError().contains(reason),
                 qPrintable(ui->state().conversationsError()));
        QVERIFY(find("inboxEmpty")->isVisible());

        ui->sim().clearFaults();
        QVERIFY(UiHarness::click(find("inboxRetry")));
        QTRY_VERIFY(!ui->state().conversations().isEmpty());
        QTRY_VERIFY(!find("inboxRetry")->isVisible());
        QVERIFY(ui->state().conversationsError().isEmpty());
        open(id);
        QTRY_COMPARE(UiHarness::text(editor()), u"Half-written reply"_qs);
        type(QString());
    }

    // Far more conversations than asked for, well-formed and within the body
    // cap: all are listed, and the half-written reply waits.
    void aHundredThousandConversationsAreListed() {
        const QString id = conversationWith("waiting", "p2");
        selectProject(u"p2"_qs);
        QTRY_VERIFY(!ui->state().conversations().isEmpty() &&
                    ui->state().conversations().first().projectID == u"p2");
        open(id);
        type(u"Half-written reply"_qs);

        constexpr int count = 100'000;
        QByteArray body = R"({"conversations":[)";
        for (int i = 0; i < count; ++i) {
            body += QStringLiteral(
                        R"({"id":"conv_many_%1","project_id":"p2","status":"active",)"
                        R"("last_message_preview":"Is my order on its way?","message_count":2,)"
                        R"("has_unread":false,"tags":[],"ai_retrieved_chunks":[],)"
                        R"("last_message_at":"2026-12-01T10:00:00Z"})")
                        .arg(i)
                        .toLatin1();
            body += i + 1 < count ? "," : "]}";
        }
        sim::Fault many;
        many.method = "GET";
        many.path = "/api/v2/projects/p2/conversations";
        many.status = 200;
        many.body = body;
        ui->sim().addFault(many);
        await(ui->state().loadConversations(u"p2"_qs));
        QCOMPARE(ui->state().conversations().size(), count);
        QVERIFY(ui->state().conversationsError().isEmpty());
        QTRY_COMPARE(find("conversationList")->property("count").toInt(), count);

        ui->sim().clearFaults();
        await(ui->state().loadConversations(u"p2"_qs));
        QTRY_VERIFY(ui->state().conversations().size() < count);
        open(id);
        QTRY_COMPARE(UiHarness::text(editor()), u"Half-written reply"_qs);
        type(QString());
    }

    // Ctrl+F, typed letters: the list narrows in place and keeps the
    // selection; nothing found says so; Escape clears it.
    void searchByKeyboard() {
        QQuickWindow* window = ui->window();
        const auto& all = ui->state().conversations();
        const auto named = std::find_if(all.begin() + 2, all.end(), [](const Conversation& c) {
            return c.visitorName && c.visitorName->size() >= 4;
        });
        QVERIFY(named != all.end());
        const Conversation target = *named;
        open(target.id);
        QTest::keyClick(window, Qt::Key_F, Qt::ControlModifier);
        QQuickItem* search = find("conversationSearch");
        QTRY_VERIFY(window->activeFocusItem() && search->isAncestorOf(window->activeFocusItem()));
        const auto typeKeys = [&](const QString& text) {
            for (const QChar c : text)
                QTest::keyClick(window, c.toLatin1());
        };
        // Part of the visitor's name, in lower case and without accents.
        const QString part = foldForSearch(*target.visitorName).left(4);
        typeKeys(part);
        QTRY_COMPARE(search->property("text").toString(), part);
        QQuickItem* list = find("conversationList");
        QTRY_VERIFY(list->property("count").toInt() < ui->state().conversations().size());
        QVERIFY(list->property("count").toInt() >= 1);
        QVERIFY(UiHarness::text(find("contentSubtitle"))
                    .contains(QLatin1Char('\'') + part + QLatin1Char('\'')));
        QCOMPARE(ui->state().selectedConversationID(), target.id);
        QCOMPARE(find("chatThread")->property("conversationID").toString(), target.id);

        typeKeys(u"qqq"_qs);
        QTRY_COMPARE(list->property("count").toInt(), 0);
        QTRY_VERIFY(find("inboxEmpty")->isVisible());
        QCOMPARE(find("inboxEmpty")->property("title").toString(),
                 u"No conversations match '"_qs + part + u"qqq'"_qs);
        QTest::keyClick(window, Qt::Key_Escape);
        QTRY_COMPARE(search->property("text").toString(), QString());
        QTRY_COMPARE(list->property("count").toInt(), ui->state().conversations().size());
        QCOMPARE(ui->state().selectedConversationID(), target.id);
    }

    // Ctrl+J opens whoever has waited longest; with nobody waiting it says so
    // and leaves the selection.
    void nextWaitingByKeyboard() {
        QQuickWindow* window = ui->window();
        const auto expected = inbox::longestWaiting(ui->state().conversations());
        QVERIFY(expected);
        ui->state().setSelectedSection(AppSection::stats);
        QTest::keyClick(window, Qt::Key_J, Qt::ControlModifier);
        QTRY_COMPARE(ui->state().selectedSection(), AppSection::inbox);
        QTRY_COMPARE(ui->state().selectedConversationID(), expected->id);
        QTRY_COMPARE(find("chatThread")->property("conversationID").toString(), expected->id);

        ui->sim().withData([](sim::SimData& d) {
            for (auto& c : d.conversations) {
                if (c.status == u"waiting")
                    c.status = "active";
            }
            return 0;
        });
        await(ui->state().loadConversations(std::nullopt));
        QVERIFY(!inbox::longestWaiting(ui->state().conversations()));
        QTest::keyClick(window, Qt::Key_J, Qt::ControlModifier);
        QTRY_COMPARE(ui->state().notices()->text(), u"Nobody is waiting"_qs);
        QCOMPARE(ui->state().selectedConversationID(), expected->id);
    }

    // Ctrl+K, part of a visitor's name, Down to the row, Return: that
    // conversation opens in its agent; a query that finds nothing says so.
    void switcherOpensAConversation() {
        QQuickWindow* window = ui->window();
        const auto& all = ui->state().conversations();
        const auto named = std::find_if(all.begin(), all.end(), [](const Conversation& c) {
            return c.visitorName && c.visitorName->size() >= 4;
        });
        QVERIFY(named != all.end());
        const Conversation target = *named;
        // Made each time it opens, gone when it closes.
        const auto shown = [&] {
            QObject* dialog = window->findChild<QObject*>(u"quickSwitcher"_qs);
            return dialog && dialog->property("visible").toBool();
        };
        const auto gone = [&] { return !window->findChild<QObject*>(u"quickSwitcher"_qs); };
        QVERIFY(gone());
        QTest::keyClick(window, Qt::Key_K, Qt::ControlModifier);
        QTRY_VERIFY(shown());
        QQuickItem* field = find("switcherField");
        QTRY_VERIFY(field->hasActiveFocus());
        const QString part = foldForSearch(*target.visitorName).left(4);
        for (const QChar c : part)
            QTest::keyClick(window, c.toLatin1());
        QTRY_COMPARE(field->property("text").toString(), part);
        auto* results = qobject_cast<QAbstractItemModel*>(
            find("switcherResults")->property("model").value<QObject*>());
        QVERIFY(results);
        int row = -1;
        QTRY_VERIFY([&] {
            for (int i = 0; i < results->rowCount(); ++i) {
                if (results->index(i, 0).data(Qt::DisplayRole).toString() == *target.visitorName &&
                    results->index(i, 0).data(results->roleNames().key("kindText")).toString() ==
                        u"Conversation") {
                    row = i;
                    return true;
                }
            }
            return false;
        }());
        for (int i = 0; i < row; ++i)
            QTest::keyClick(window, Qt::Key_Down);
        QTRY_COMPARE(find("switcherResults")->property("currentIndex").toInt(), row);
        QTest::keyClick(window, Qt::Key_Return);
        QTRY_VERIFY(gone());
        QTRY_COMPARE(ui->state().selectedConversationID(), target.id);
        QTRY_COMPARE(ui->state().selectedProjectID(), std::optional(target.projectID));
        QTRY_COMPARE(find("chatThread")->property("conversationID").toString(), target.id);

        QTest::keyClick(window, Qt::Key_K, Qt::ControlModifier);
        QTRY_VERIFY(shown());
        field = find("switcherField");
        QTRY_VERIFY(field->hasActiveFocus());
        QCOMPARE(field->property("text").toString(), QString()); // afresh
        results = qobject_cast<QAbstractItemModel*>(
            find("switcherResults")->property("model").value<QObject*>());
        QVERIFY(results);
        for (const QChar c : u"qqqzzz"_qs)
            QTest::keyClick(window, c.toLatin1());
        QTRY_COMPARE(results->rowCount(), 0);
        QTRY_VERIFY(find("switcherEmpty")->isVisible());
        QCOMPARE(UiHarness::text(find("switcherEmpty")), u"No results for 'qqqzzz'"_qs);
        QTest::keyClick(window, Qt::Key_Escape);
        QTRY_VERIFY(gone());
    }

    // Ctrl+/ shows the sheet with every shortcut of the table; Escape closes it.
    void shortcutSheetListsTheTable() {
        QQuickWindow* window = ui->window();
        const auto sheet = [&] { return window->findChild<QObject*>(u"shortcutsSheet"_qs); };
        QVERIFY(!sheet()); // made when it opens
        QTest::keyClick(window, Qt::Key_Slash, Qt::ControlModifier);
        QTRY_VERIFY(sheet() && sheet()->property("visible").toBool());
        QQuickItem* list = find("shortcutList");
        QTRY_COMPARE(list->property("count").toInt(), int(shortcutTable().size()));
        QStringList names;
        for (QQuickItem* row : UiHarness::itemsOf(window)) {
            if (row->parentItem() == list)
                names.append(UiHarness::accessibleName(row));
        }
        for (const ShortcutEntry& e : shortcutTable())
            QVERIFY2(
                names.contains(e.description + u": "_qs +
                               QKeySequence(e.keys.first()).toString(QKeySequence::NativeText)),
                qPrintable(e.description + u" in "_qs + names.join(u'|')));
        QTest::keyClick(window, Qt::Key_Escape);
        QTRY_VERIFY(!sheet());
    }
};

QTEST_MAIN(TestInboxView)
#include "tst_inboxview.moc"
