// The thread through the real window against the simulated service: each
// status, the suggested reply, snippets, sending (and a refused send),
// resolving, translating, a refused action, the context panel at every width,
// and new messages as they come. Every control carries a name for screen readers.

#include "Await.h"
#include "ScopedTiming.h"
#include "WorkspaceWorld.h"
#include <QAccessible>
#include <QClipboard>
#include <QGuiApplication>
#include <QJsonDocument>
#include <QJsonObject>
#include <QQuickItem>
#include <QQuickWindow>
#include <QTest>

#include <QtQml/qqmlextensionplugin.h>
#include <functional>

Q_IMPORT_QML_PLUGIN(KestovarPlugin)

using namespace kv;
using kv::test::await;
using kv::test::ScopedTiming;
using namespace std::chrono_literals;
using kv::test::UiHarness;

namespace {

QString sentText(const QJsonObject& request) {
    return QJsonDocument::fromJson(request["body"].toString().toUtf8()).object()["text"].toString();
}

} // namespace

class TestThreadView : public kv::test::WorkspaceWorld {
    Q_OBJECT

    // The conversation's first message from the visitor, as the state holds it now.
    Message firstVisitorMessage(const QString& conversationID) const {
        const QList<Message> all = ui->state().messages(conversationID);
        const auto it = std::find_if(all.begin(), all.end(),
                                     [](const Message& m) { return m.role == MessageRole::user; });
        return it == all.end() ? Message{} : *it;
    }
    // The control named `name` in the bubble named `bubbleName`, looked up afresh:
    // the list may make the bubble anew (or be between two bubbles) at any time.
    QQuickItem* inBubble(const QString& bubbleName, const char* name) const {
        QQuickItem* bubble = ui->find(bubbleName);
        if (!bubble)
            return nullptr;
        for (QQuickItem* item : ui->items()) {
            if (item->objectName() == QLatin1StringView(name) && bubble->isAncestorOf(item))
                return item;
        }
        return nullptr;
    }

    // `count` more visitor messages in the conversation, loaded.
    void addVisitorMessages(const QString& conversationID, int count,
                            const QString& project = u"p1"_qs) {
        ui->sim().withData([&](sim::SimData& d) {
            auto* c = d.conversation(project, conversationID);
            for (int i = 0; i < count; ++i) {
                c->messages.append(sim::SimMessage{d.nextId("msg_"),
                                                   conversationID,
                                                   "user",
                                                   QStringLiteral("Are you there? (%1)").arg(i),
                                                   QDateTime::currentDateTimeUtc(),
                                                   {},
                                                   {}});
            }
            return 0;
        });
        await(ui->state().loadConversationDetail(conversationID));
    }
    // The message a text in a bubble belongs to.
    static QString messageOf(const QQuickItem* item) {
        for (; item; item = item->parentItem()) {
            if (item->objectName().startsWith(u"bubble_"_qs))
                return item->objectName().mid(7);
        }
        return {};
    }
    // The messages whose bubbles are made, in the order a screen reader finds
    // their texts under the list.
    QStringList messagesAsRead() const {
        QStringList ids;
        std::function<void(QAccessibleInterface*)> walk = [&](QAccessibleInterface* node) {
            for (int i = 0; i < node->childCount(); ++i) {
                QAccessibleInterface* child = node->child(i);
                auto* item = child ? qobject_cast<QQuickItem*>(child->object()) : nullptr;
                if (item && item->objectName() == u"messageText")
                    ids.append(messageOf(item));
                else if (child)
                    walk(child);
            }
        };
        walk(QAccessible::queryAccessibleInterface(find("messageList")));
        return ids;
    }
    // The messages whose texts Tab reaches from `first`, in order, until it leaves the list.
    QStringList messagesAsTabbed(QQuickItem* first) const {
        QStringList ids;
        QQuickItem* list = find("messageList");
        for (QQuickItem* item = first; item && list->isAncestorOf(item) && ids.size() < 1000;
             item = item->nextItemInFocusChain(true)) {
            if (item->objectName() == u"messageText")
                ids.append(messageOf(item));
        }
        return ids;
    }
    // Whether `shown` holds messages of the conversation, each once, oldest first.
    bool inConversationOrder(const QString& conversationID, const QStringList& shown) const {
        QStringList all;
        for (const Message& m : ui->state().messages(conversationID))
            all.append(m.id);
        qsizetype last = -1;
        for (const QString& id : shown) {
            const qsizetype at = all.indexOf(id);
            if (at <= last)
                return false;
            last = at;
        }
        return !shown.isEmpty();
    }

private slots:
    void threadFitsEachStatus() {
        open(conversationWith("waiting"));
        QTRY_VERIFY(find("composer")->isVisible());
        QVERIFY(shown("takeOverBar").isEmpty());
        QVERIFY(find("resolveButton")->isVisible());

        open(conversationWith("operator_active"));
        QTRY_VERIFY(find("composer")->isVisible());

        const QString resolved = conversationWith("resolved");
        open(resolved);
        QTRY_VERIFY(find("resolvedBanner")->isVisible());
        QVERIFY(!find("composer")->isVisible());
        QVERIFY(!find("resolveButton")->isVisible());
        QVERIFY(find("resolvedMark")->isVisible());

        // Active: the AI has it until the operator takes over; another active one starts over.
        const QString active = conversationWith("active");
        open(active);
        QTRY_VERIFY(!shown("takeOverBar").isEmpty());
        QVERIFY(!find("composer")->isVisible());
        QVERIFY(UiHarness::click(find("takeOverButton")));
        QTRY_VERIFY(find("composer")->isVisible());
        QVERIFY(shown("takeOverBar").isEmpty());
        QVERIFY(ui->requestsTo("/api/v2/projects", "POST").isEmpty()); // nothing sent
        open(resolved);
        open(active);
        QTRY_VERIFY(!shown("takeOverBar").isEmpty());
        // The bar shown again is the one kept from before, and it still answers.
        QVERIFY(UiHarness::click(find("takeOverButton")));
        QTRY_VERIFY(find("composer")->isVisible());
        QVERIFY(shown("takeOverBar").isEmpty());
    }

    void suggestedReplyFillsTheComposer() {
        const QString id = conversationWith("waiting");
        open(id);
        QTRY_VERIFY(!shown("suggestionCard").isEmpty());
        const QString text = UiHarness::text(find("suggestionText"));
        QVERIFY(!text.isEmpty());
        type("something typed first");
        QVERIFY(UiHarness::click(find("useSuggestion")));
        QTRY_COMPARE(UiHarness::text(editor()), text); // replaces what was typed
        QTRY_VERIFY(shown("suggestionCard").isEmpty());

        // The draft belongs to its conversation: away and back, it is still there.
        open(conversationWith("operator_active"));
        QTRY_COMPARE(UiHarness::text(editor()), QString());
        open(id);
        QTRY_COMPARE(UiHarness::text(editor()), text);
        QVERIFY(shown("suggestionCard").isEmpty()); // and the card stays away
        type("");
    }

    void slashPicksASnippet() {
        selectProject(u"p1"_qs); // English snippets
        QTRY_VERIFY(ui->state().snippetsProjectID() == std::optional<QString>(u"p1"_qs));
        open(conversationWith("waiting", "p1"));
        type("/");
        QTRY_VERIFY(find("snippetPicker")->isVisible());
        QCOMPARE(UiHarness::text(find("snippetMatchCount")), u"3 matches"_qs);
        type("/tha later");
        QTRY_COMPARE(UiHarness::text(find("snippetMatchCount")), u"1 match"_qs);
        QTRY_COMPARE(shown("snippetRow").size(), 1);
        QMetaObject::invokeMethod(shown("snippetRow").first(), "clicked");
        QTRY_COMPARE(UiHarness::text(editor()),
                     u"Thanks for your patience — I'm looking into it now. later"_qs);
        QTRY_VERIFY(!find("snippetPicker")->isVisible());

        // Tab takes the top match; Escape drops a command.
        type("/hel");
        editor()->forceActiveFocus();
        QTest::keyClick(ui->window(), Qt::Key_Tab);
        QTRY_COMPARE(UiHarness::text(editor()),
                     u"Hi there! I'm a real person and happy to help."_qs);
        type("/hel more");
        QTest::keyClick(ui->window(), Qt::Key_Escape);
        QTRY_COMPARE(UiHarness::text(editor()), u"more"_qs);
        type("");
    }

    // The snippet and translation menus exist only while they show; each
    // entry does its work, from the mouse and from a screen reader.
    void menusAreMadeOnUseAndDoTheirWork() {
        selectProject(u"p1"_qs);
        QTRY_VERIFY(ui->state().snippetsProjectID() == std::optional<QString>(u"p1"_qs));
        const QString id = conversationWith("waiting", "p1");
        open(id);
        QTRY_VERIFY(find("composer")->isVisible());
        type("");
        QVERIFY(!ui->findObject("snippetMenu"));
        const auto entry = [&](const QString& label) -> QQuickItem* {
            for (QQuickItem* item : ui->items()) {
                if (item->inherits("QQuickMenuItem") && item->isVisible() &&
                    UiHarness::accessibleName(item) == label)
                    return item;
            }
            return nullptr;
        };

        // Opened with the mouse (it opens at the pointer), chosen as a screen reader chooses.
        UiHarness::mouseClick(find("snippetMenuButton"));
        const Snippet first = ui->state().snippets().first();
        const QString firstEntry =
            ui->findObject("composerModel")->property("menuEntries").toStringList().first();
        QTRY_VERIFY(entry(firstEntry));
        QVERIFY(UiHarness::click(entry(firstEntry)));
        QTRY_COMPARE(UiHarness::text(editor()), first.body);
        QTRY_VERIFY(!ui->findObject("snippetMenu"));
        type("");

        // The translation menu, asked for twice while it shows (a screen
        // reader does not close it first): one menu, one translation.
        const auto visitorMessage = [&] { return firstVisitorMessage(id); };
        QTRY_VERIFY(!visitorMessage().id.isEmpty());
        const QString bubbleName = "bubble_" + visitorMessage().id;
        const auto translateButton = [&] { return inBubble(bubbleName, "translateMenuButton"); };
        QTRY_VERIFY(translateButton());
        QVERIFY(!ui->findObject("translateMenu"));
        ui->sim().clearRequests();
        QVERIFY(UiHarness::click(translateButton()));
        QTRY_VERIFY(entry(u"German"_qs));
        QVERIFY(UiHarness::click(translateButton()));
        QTRY_VERIFY(entry(u"German"_qs));
        const QList<QQuickItem*> items = ui->items();
        QCOMPARE(std::count_if(items.begin(), items.end(),
                               [](QQuickItem* item) {
                                   return item->inherits("QQuickMenuItem") && item->isVisible() &&
                                          UiHarness::accessibleName(item) == u"German"_qs;
                               }),
                 1);
        UiHarness::mouseClick(entry(u"German"_qs));
        QTRY_COMPARE(ui->requestsTo("/api/v2/translate", "POST").size(), 1);
        const QJsonObject body =
            QJsonDocument::fromJson(
                ui->requestsTo("/api/v2/translate", "POST").first()["body"].toString().toUtf8())
                .object();
        QCOMPARE(body["target"].toString(), u"de"_qs);
        QTRY_VERIFY(!ui->findObject("translateMenu"));
        QTRY_VERIFY(visitorMessage().translation.has_value());
    }

    // The reply keeps most of the composer's width at every window width and
    // text size, with the context panel shown or hidden: in a narrow pane the
    // send buttons go under it, in a wide one they stand beside it; never over it.
    void theReplyKeepsItsRoom() {
        const QString id = conversationWith("operator_active", "p1");
        selectProject(u"p1"_qs);
        open(id);
        QTRY_VERIFY(find("composer")->isVisible());
        const auto sceneRect = &UiHarness::sceneRect;
        const auto field = [&] {
            return sceneRect(UiHarness::enclosing(editor(), "QQuickScrollView"));
        };
        const auto fits = [&] {
            const QRectF composer = sceneRect(find("composer"));
            const QRectF send = sceneRect(find("sendButton"));
            const QRectF resolve = sceneRect(find("sendResolveButton"));
            return field().width() >= composer.width() / 2 && !field().intersects(send) &&
                   !field().intersects(resolve) && composer.contains(send) &&
                   composer.contains(resolve);
        };
        bool sawBeside = false, sawUnder = false;
        const QSize size = ui->window()->size();
        for (const int width : {1100, 1280, 1600}) {
            ui->window()->resize(width, size.height());
            for (const auto text : {FontSizePreference::normal, FontSizePreference::extraLarge}) {
                ui->state().setFontSize(text);
                for (int toggle = 0; toggle < 2; ++toggle) {
                    const bool panel = shown("contextPanel").isEmpty();
                    QVERIFY(UiHarness::click(find("contextPanelToggle")));
                    QTRY_COMPARE(!shown("contextPanel").isEmpty(), panel);
                    QVERIFY(ui->drawn()); // the layouts have taken the new width
                    QTRY_VERIFY2(
                        fits(),
                        qPrintable(u"window %1, text %2, panel %3"_qs.arg(width).arg(int(text)).arg(
                            panel)));
                    const bool beside = sceneRect(find("sendButton")).top() < field().bottom();
                    (beside ? sawBeside : sawUnder) = true;
                }
            }
        }
        QVERIFY(sawBeside && sawUnder);
        ui->state().setFontSize(FontSizePreference::normal);
        ui->window()->resize(size);
    }

    void sendsByButtonAndShortcut() {
        const QString id = conversationWith("operator_active", "p1");
        selectProject(u"p1"_qs);
        open(id);
        const QString path = "/api/v2/projects/p1/conversations/" + id + "/send";
        ui->sim().clearRequests();
        QVERIFY(!find("sendButton")->property("enabled").toBool());
        type("  \n  ");
        QVERIFY(!find("sendButton")->property("enabled").toBool()); // nothing but blanks

        type("  Here is the tracking link.\n");
        QVERIFY(UiHarness::click(find("sendButton")));
        QCOMPARE(UiHarness::text(editor()), QString()); // empty at once
        QTRY_COMPARE(ui->requestsTo(path, "POST").size(), 1);
        QCOMPARE(sentText(ui->requestsTo(path, "POST")[0]), u"Here is the tracking link."_qs);

        type("Anything else?");
        editor()->forceActiveFocus();
        QTest::keyClick(ui->window(), Qt::Key_Return, Qt::ControlModifier);
        QTRY_COMPARE(ui->requestsTo(path, "POST").size(), 2);
        QCOMPARE(sentText(ui->requestsTo(path, "POST")[1]), u"Anything else?"_qs);
        QVERIFY(
            !QJsonDocument::fromJson(ui->requestsTo(path, "POST")[1]["body"].toString().toUtf8())
                 .object()["resolve_after"]
                 .toBool());
        // The sent replies show in the thread.
        QTRY_VERIFY(ui->state().messages(id).size() >= 2);
    }

    // A thread that cannot be fetched again keeps the messages it shows, says
    // why above them with Retry, and keeps the reply being typed.
    void aThreadThatCannotBeReloadedKeepsItsMessages_data() {
        QTest::addColumn<int>("kind");
        QTest::addColumn<QString>("reason");
        using K = sim::Fault::Kind;
        QTest::newRow("server error") << int(K::status) << u"HTTP 500"_qs;
        QTest::newRow("wrong types") << int(K::mistyped) << u"not text"_qs;
        QTest::newRow("50 MB body") << int(K::oversized) << u"larger than 32 MiB"_qs;
    }
    void aThreadThatCannotBeReloadedKeepsItsMessages() {
        QFETCH(int, kind);
        QFETCH(QString, reason);
        const QString id = conversationWith("operator_active", "p1");
        selectProject(u"p1"_qs); // its list arriving later would empty the thread
        open(id);
        QQuickItem* list = find("messageList");
        QTRY_VERIFY(!ui->state().messages(id).isEmpty());
        QTRY_COMPARE(list->property("count").toInt(), ui->state().messages(id).size());
        const int shown = list->property("count").toInt();
        type(u"Still typing"_qs);

        sim::Fault broken;
        broken.kind = sim::Fault::Kind(kind);
        broken.method = "GET";
        broken.path = "/api/v2/projects/p1/conversations/" + id;
        ui->sim().addFault(broken);
        await(ui->state().loadConversationDetail(id));
        QTRY_VERIFY(find("threadLoadError")->isVisible());
        const QString banner = UiHarness::text(find("threadLoadError"));
        QVERIFY2(banner.startsWith(u"Couldn’t load messages: "_qs) && banner.contains(reason),
                 qPrintable(banner));
        QCOMPARE(list->property("count").toInt(), shown);
        QCOMPARE(UiHarness::text(editor()), u"Still typing"_qs);

        ui->sim().clearFaults();
        QVERIFY(UiHarness::click(find("threadRetry")));
        QTRY_VERIFY(!find("threadLoadError")->isVisible());
        QCOMPARE(list->property("count").toInt(), shown);
        QCOMPARE(UiHarness::text(editor()), u"Still typing"_qs);
        type(QString());
    }

    // A message of a megabyte: the bubble lays out its beginning and says so, the
    // whole text goes to the clipboard, and the composer works beside it.
    void aMegabyteMessageIsShown() {
        const QString id = conversationWith("operator_active", "p1");
        selectProject(u"p1"_qs);
        QString text;
        while (text.size() < 1024 * 1024)
            text += QStringLiteral("All the **details** of my order, line %1. ").arg(text.size());
        ui->sim().withData([&](sim::SimData& d) {
            d.conversation("p1", id)->messages.append(sim::SimMessage{
                d.nextId("msg_"), id, "user", text, QDateTime::currentDateTimeUtc(), {}, {}});
            return 0;
        });
        open(id);
        await(ui->state().loadConversationDetail(id));
        QCOMPARE(ui->state().messages(id).last().content, text);
        QQuickItem* list = find("messageList");
        QTRY_COMPARE(list->property("count").toInt(), ui->state().messages(id).size());
        QTRY_VERIFY(list->property("atYEnd").toBool());
        QVERIFY(!find("threadLoadError")->isVisible());
        const QString bubbleName = "bubble_" + ui->state().messages(id).last().id;
        QQuickItem* bubble = nullptr;
        QTRY_VERIFY((bubble = ui->find(bubbleName)));
        QVERIFY(bubble->property("shortenedNote").toString().contains(u"1,0"_qs));
        const auto copy = bubble->findChildren<QQuickItem*>(u"copyWholeMessage"_qs);
        QCOMPARE(copy.size(), 1);
        QTRY_VERIFY(copy.first()->isVisible());
        QGuiApplication::clipboard()->clear();
        QVERIFY(UiHarness::click(copy.first()));
        QTRY_COMPARE(QGuiApplication::clipboard()->text(), text);

        ui->sim().clearRequests();
        type(u"Thanks, reading it now."_qs);
        QVERIFY(UiHarness::click(find("sendButton")));
        const QString path = "/api/v2/projects/p1/conversations/" + id + "/send";
        QTRY_VERIFY(!ui->requestsTo(path, "POST").isEmpty());
        QCOMPARE(sentText(ui->requestsTo(path, "POST").last()), u"Thanks, reading it now."_qs);
    }

    void aRefusedReplyComesBack() {
        const QString id = conversationWith("operator_active", "p1");
        selectProject(u"p1"_qs);
        open(id);
        sim::Fault refuse;
        refuse.method = "POST";
        refuse.path = "/api/v2/projects/p1/conversations/" + id + "/send";
        refuse.status = 503;
        refuse.body = "try later";
        refuse.times = 1;
        ui->sim().addFault(refuse);
        type("Please hold on");
        QVERIFY(UiHarness::click(find("sendButton")));
        QCOMPARE(UiHarness::text(editor()), QString());
        QTRY_COMPARE(UiHarness::text(editor()), u"Please hold on"_qs);
        QTRY_VERIFY(find("replyFailure")->isVisible());
        QCOMPARE(find("replyFailure")->property("text").toString(),
                 u"Reply not sent: HTTP 503: try later"_qs);

        // Typed meanwhile, then refused: the old text goes below the new one.
        ui->sim().addFault(refuse);
        QVERIFY(UiHarness::click(find("sendButton")));
        type("First this");
        QTRY_COMPARE(UiHarness::text(editor()), u"First this\nPlease hold on"_qs);

        QVERIFY(UiHarness::click(find("sendAgainButton")));
        QTRY_VERIFY(!find("replyFailure")->isVisible());
        QTRY_COMPARE(sentText(ui->requestsTo(refuse.path, "POST").last()),
                     u"First this\nPlease hold on"_qs);
    }

    void resolvesFromTheHeader() {
        const QString id = conversationWith("waiting", "p2");
        selectProject(u"p2"_qs);
        open(id);
        QVERIFY(UiHarness::click(find("resolveButton")));
        QTRY_VERIFY(find("resolvedBanner")->isVisible());
        QCOMPARE(
            ui->requestsTo("/api/v2/projects/p2/conversations/" + id + "/resolve", "POST").size(),
            1);
        QVERIFY(!find("resolveButton")->isVisible());
    }

    // What the operator fired and forgot and the service refused is said over
    // the screen, heard as an alert, and goes when the cross is pressed (by the
    // mouse, or by assistive technology); a newer failure replaces the older.
    void aRefusedActionIsSaidOverTheScreen() {
        const QString id = conversationWith("waiting", "p2");
        selectProject(u"p2"_qs);
        open(id);
        QQuickItem* notice = find("noticeBanner");
        QVERIFY(!notice->isVisible());

        sim::Fault refuse;
        refuse.method = "POST";
        refuse.path = "/api/v2/projects/p2/conversations/" + id + "/resolve";
        refuse.status = 503;
        refuse.body = "busy";
        ui->sim().addFault(refuse);
        QVERIFY(UiHarness::click(find("resolveButton")));
        QTRY_VERIFY(notice->isVisible());
        const QString resolveFailed = u"Couldn’t resolve the conversation: HTTP 503: busy"_qs;
        QCOMPARE(UiHarness::accessibleName(notice), resolveFailed);
        QCOMPARE(QAccessible::queryAccessibleInterface(notice)->role(), QAccessible::AlertMessage);
        QVERIFY(find("resolveButton")->isVisible()); // nothing pretends it was resolved
        QVERIFY(!find("resolvedBanner")->isVisible());
        QVERIFY(UiHarness::click(find("noticeDismiss")));
        QTRY_VERIFY(!notice->isVisible());

        // Translation refused, then the resolve refused again: the newest is the one shown.
        sim::Fault noTranslation;
        noTranslation.method = "POST";
        noTranslation.path = "/api/v2/translate";
        noTranslation.status = 502;
        noTranslation.body = "gateway";
        ui->sim().addFault(noTranslation);
        const QList<Message> all = ui->state().messages(id);
        QVERIFY(!all.isEmpty());
        QMetaObject::invokeMethod(ui->findObject("threadController"), "translate",
                                  Q_ARG(QString, all.first().id), Q_ARG(int, 0));
        QTRY_COMPARE(UiHarness::accessibleName(notice),
                     u"Couldn’t translate the message: HTTP 502: gateway"_qs);
        QVERIFY(UiHarness::click(find("resolveButton")));
        QTRY_COMPARE(UiHarness::accessibleName(notice), resolveFailed);
        UiHarness::mouseClick(find("noticeDismiss"));
        QTRY_VERIFY(!notice->isVisible());
        ui->sim().clearFaults();
    }

    void translatesAndShowsTheOriginal() {
        const QString id = conversationWith("active", "p4");
        selectProject(u"p4"_qs);
        open(id);
        const auto visitorMessage = [&] { return firstVisitorMessage(id); };
        const Message original = visitorMessage();
        QVERIFY(!original.id.isEmpty());
        const QString bubbleName = "bubble_" + original.id;
        QTRY_VERIFY(ui->find(bubbleName));
        // The bubble is looked up afresh each time: the list may make it anew (or
        // be between two bubbles) while a translation lands.
        const auto inBubble = [&](const char* name) { return this->inBubble(bubbleName, name); };
        const auto shownText = [&] { return UiHarness::text(inBubble("messageText")); };
        QCOMPARE(shownText(), original.content);

        // From the keyboard: the message that has the focus, into the default
        // language (the menu's first entry).
        ui->sim().clearRequests();
        QVERIFY(inBubble("translateMenuButton"));
        UiHarness::mouseClick(inBubble("messageText"));
        QTRY_VERIFY(inBubble("messageText")->hasActiveFocus());
        QTest::keyClick(ui->window(), Qt::Key_L, Qt::ControlModifier | Qt::ShiftModifier);
        QTRY_VERIFY(visitorMessage().translation.has_value());
        QCOMPARE(ui->requestsTo("/api/v2/translate", "POST").size(), 1);
        QTRY_COMPARE(shownText(), *visitorMessage().translation);

        QObject* toggle = inBubble("translationToggle");
        QTRY_VERIFY(toggle->property("visible").toBool());
        QVERIFY(UiHarness::click(toggle));
        QTRY_COMPARE(shownText(), original.content); // "Show original"
        QVERIFY(UiHarness::click(toggle));
        QTRY_COMPARE(shownText(), *visitorMessage().translation);
        // The same key goes back to the original, without asking the service again.
        inBubble("messageText")->forceActiveFocus();
        QTest::keyClick(ui->window(), Qt::Key_L, Qt::ControlModifier | Qt::ShiftModifier);
        QTRY_COMPARE(shownText(), original.content);
        QCOMPARE(ui->requestsTo("/api/v2/translate", "POST").size(), 1);
    }

    // A thread opens with light texts. The selectable editor is made where the
    // pointer or the keyboard is and goes when they leave; it draws the same
    // pixels, so nothing moves when it comes or goes.
    void aMessageBecomesSelectableWhereTheOperatorIs() {
        const QString id = conversationWith("waiting", "p1");
        selectProject(u"p1"_qs);
        open(id);
        const Message message = firstVisitorMessage(id);
        const QString bubbleName = "bubble_" + message.id;
        QTRY_VERIFY(ui->find(bubbleName));
        // The editors under `root` (a bubble, or the whole list).
        const auto editors = [&](const QString& root) {
            QList<QQuickItem*> found;
            for (QQuickItem* item : ui->items()) {
                if (item->inherits("QQuickTextEdit") && ui->find(root)->isAncestorOf(item))
                    found.append(item);
            }
            return found;
        };
        const QPoint away(1, 1); // over the sidebar
        QTest::mouseMove(ui->window(), away);
        QTRY_COMPARE(editors(u"messageList"_qs).size(), 0);
        QQuickItem* text = inBubble(bubbleName, "messageText");
        const QRect area = UiHarness::sceneRect(text).toAlignedRect();
        const QImage before = ui->window()->grabWindow().copy(area);
        QQuickItem* pointer = nullptr;
        for (QQuickItem* child : text->childItems())
            pointer = child->inherits("QQuickMouseArea") ? child : pointer;
        QVERIFY(pointer);

        QTest::mouseMove(ui->window(), area.center());
        QTRY_COMPARE(editors(bubbleName).size(), 1);
        QCOMPARE(ui->window()->grabWindow().copy(area), before);
        QTest::mouseMove(ui->window(), away);
        QTRY_COMPARE(editors(bubbleName).size(), 0);

        // Clicked and all selected, it stays with the focus after the pointer has gone.
        UiHarness::mouseClick(text);
        QTRY_VERIFY(text->hasActiveFocus());
        QTest::keyClick(ui->window(), Qt::Key_A, Qt::ControlModifier);
        QTRY_COMPARE(editors(bubbleName)
                         .value(0)
                         ->property("selectedText")
                         .toString()
                         .replace(QChar::ParagraphSeparator, u'\n'),
                     message.content);
        QTest::mouseMove(ui->window(), away);
        QTRY_VERIFY(!pointer->property("containsMouse").toBool());
        QCOMPARE(editors(bubbleName).size(), 1);

        // Tab leaves it (the selection goes with the focus, as in any text), and
        // the editor goes. Shift+Tab comes back into it, and can leave it again.
        QTest::keyClick(ui->window(), Qt::Key_Tab);
        QTRY_VERIFY(!text->hasActiveFocus());
        QTRY_COMPARE(editors(bubbleName).size(), 0);
        QTest::keyClick(ui->window(), Qt::Key_Backtab, Qt::ShiftModifier);
        QTRY_VERIFY(editors(bubbleName).value(0) && editors(bubbleName).first()->hasActiveFocus());
        QTest::keyClick(ui->window(), Qt::Key_Backtab, Qt::ShiftModifier);
        QTRY_VERIFY(!text->hasActiveFocus());
        QTRY_COMPARE(editors(bubbleName).size(), 0);
    }

    void contextPanelDescribesTheVisitor() {
        const QString id = conversationWith("waiting", "p1");
        selectProject(u"p1"_qs);
        open(id);
        const Conversation c =
            *std::find_if(ui->state().conversations().begin(), ui->state().conversations().end(),
                          [&](const Conversation& x) { return x.id == id; });
        QTRY_VERIFY(!shown("contextPanel").isEmpty());
        QCOMPARE(UiHarness::text(find("contextName")), c.visitorName.value_or("Anonymous"));
        QCOMPARE(find("contextMessages")->property("label").toString(),
                 QString::number(c.messageCount) + " messages");
        for (const char* card : {"visitorCard", "pageCard", "conversationCard", "aiContextCard"})
            QVERIFY2(find(card)->isVisible(), card);
        QCOMPARE(UiHarness::text(find("escalationReason")),
                 c.aiEscalationReason.value_or(QString()));
        QVERIFY(!find("saveQaButton")->property("enabled").toBool()); // shown, not yet there

        QVERIFY(UiHarness::click(find("contextPanelToggle")));
        QTRY_VERIFY(shown("contextPanel").isEmpty());
        QVERIFY(UiHarness::click(find("contextPanelToggle")));
        QTRY_VERIFY(!shown("contextPanel").isEmpty());
    }

    // At every width the panel shows exactly when its toggle says it does: in the
    // narrowest window, where list, thread and panel cannot stand side by side,
    // it lies over the thread's edge.
    // Going from conversation to conversation, with more, fewer or as many
    // chunks and tags, the panel shows each one's own; chunk rows once made
    // are kept, hidden while a conversation has fewer chunks.
    void contextPanelFollowsEachConversation() {
        selectProject(u"p1"_qs);
        const QList<Conversation> all = ui->state().conversations();
        QVERIFY(all.size() >= 4);
        // The panel's chunk rows, top to bottom: those shown, or all that are made.
        const auto chunkRows = [&](bool shownOnly = true) {
            QList<QQuickItem*> rows;
            for (QQuickItem* item : ui->items()) {
                if (QByteArray(item->metaObject()->className()).startsWith("ChunkRow") &&
                    find("contextPanel")->isAncestorOf(item) && (item->isVisible() || !shownOnly))
                    rows.append(item);
            }
            std::sort(rows.begin(), rows.end(), [](QQuickItem* a, QQuickItem* b) {
                return a->mapToScene({}).y() < b->mapToScene({}).y();
            });
            return rows;
        };
        const auto shownChunks = [&] {
            QStringList names;
            for (QQuickItem* row : chunkRows())
                names.append(QAccessible::queryAccessibleInterface(row)->text(QAccessible::Name));
            return names;
        };
        // The tag chips shown (a chip left out for want of room included), left to right.
        const auto chipBoxes = [&] {
            QList<QQuickItem*> chips;
            for (QQuickItem* item : ui->items()) {
                QQuickItem* flow = UiHarness::enclosing(item, "FlowTags");
                if (item->inherits("QQuickText") && flow && flow->isVisible() &&
                    item->parentItem()->isVisible() && find("contextPanel")->isAncestorOf(item))
                    chips.append(item->parentItem());
            }
            std::sort(chips.begin(), chips.end(), [](QQuickItem* a, QQuickItem* b) {
                return a->mapToScene({}).x() < b->mapToScene({}).x();
            });
            return chips;
        };
        const auto shownTags = [&] {
            QStringList tags;
            for (QQuickItem* chip : chipBoxes())
                tags.append(UiHarness::text(chip->childItems().first()));
            return tags;
        };
        // The chips drawn stay inside their card; those that would not fit are left out whole.
        bool someLeftOut = false;
        const auto chipsWithinTheCard = [&] {
            for (QQuickItem* chip : chipBoxes()) {
                QQuickItem* card = UiHarness::enclosing(chip, "SectionCard");
                const qreal cardRight = card->mapToScene({card->width(), 0}).x();
                const qreal chipRight = chip->mapToScene({chip->width(), 0}).x();
                if (chip->opacity() > 0 && chipRight > cardRight)
                    return false;
                someLeftOut = someLeftOut || chip->opacity() == 0;
            }
            return true;
        };
        const auto matches = [](const QStringList& shown, const QList<RetrievedChunk>& chunks) {
            if (shown.size() != chunks.size())
                return false;
            for (qsizetype i = 0; i < shown.size(); ++i) {
                if (!shown[i].startsWith(chunks[i].title + ", score ") ||
                    !shown[i].endsWith(". " + chunks[i].snippet))
                    return false;
            }
            return true;
        };
        QList<QQuickItem*> before;
        qsizetype most = 0;
        bool fewerKept = false;
        for (const Conversation& listed : all.mid(0, 10)) {
            open(listed.id);
            const Conversation c = *ui->state().openConversation()->conversation();
            QTRY_VERIFY2(matches(shownChunks(), c.aiRetrievedChunks),
                         qPrintable(shownChunks().join(u" | ")));
            QTRY_COMPARE(shownTags(), c.tags);
            // Placed by their row first: new chips stand at its start until then.
            QVERIFY(ui->drawn());
            QTRY_VERIFY(chipsWithinTheCard());
            const QList<QQuickItem*> rows = chunkRows(false);
            const bool more = c.aiRetrievedChunks.size() > most;
            most = std::max(most, c.aiRetrievedChunks.size());
            QCOMPARE(rows.size(), most);
            if (!more && most > 0) {
                QCOMPARE(rows, before); // the same rows, their texts changed
                fewerKept = fewerKept || c.aiRetrievedChunks.size() < most;
            }
            before = rows;
        }
        QVERIFY(fewerKept);
        QVERIFY(someLeftOut);
    }

    void contextPanelAndToggleAgreeAtEveryWidth() {
        const QString id = conversationWith("waiting", "p1");
        selectProject(u"p1"_qs);
        open(id);
        const int wide = ui->window()->width();
        const auto panelShown = [&] { return !shown("contextPanel").isEmpty(); };
        const auto toggleSays = [&] {
            return UiHarness::accessibleName(find("contextPanelToggle"));
        };
        for (const int width : {1100, 1166, 1280, wide}) {
            ui->window()->setWidth(width);
            QTRY_COMPARE(ui->window()->width(), width);
            ui->state().setContextPanelVisible(true);
            QTRY_VERIFY2(panelShown(), qPrintable(QString::number(width)));
            QCOMPARE(toggleSays(), u"Hide context panel"_qs);
            // Laid over the thread, it leaves the header (and the toggle) clear.
            QVERIFY(UiHarness::click(find("contextPanelToggle")));
            QTRY_VERIFY2(!panelShown(), qPrintable(QString::number(width)));
            QCOMPARE(toggleSays(), u"Show context panel"_qs);
            QVERIFY(UiHarness::click(find("contextPanelToggle")));
            QTRY_VERIFY(panelShown());
        }
    }

    // What the visitor writes into the open conversation shows once the list
    // says so (a realtime refresh), without opening the conversation again.
    void theOpenThreadShowsWhatTheVisitorWrites() {
        const QString id = conversationWith("operator_active", "p1");
        selectProject(u"p1"_qs);
        open(id);
        QTRY_VERIFY(!ui->state().messages(id).isEmpty());
        const qsizetype before = ui->state().messages(id).size();
        ui->sim().withData([&](sim::SimData& d) {
            d.conversation("p1", id)->messages.append(
                sim::SimMessage{d.nextId("msg_"),
                                id,
                                "user",
                                u"Is anyone still there?"_qs,
                                QDateTime::currentDateTimeUtc(),
                                {},
                                {}});
            return 0;
        });
        await(ui->state().realtimeRefresh());
        QTRY_COMPARE(ui->state().messages(id).size(), before + 1);
        QCOMPARE(ui->state().messages(id).last().content, u"Is anyone still there?"_qs);
        QTRY_COMPARE(find("messageList")->property("count").toInt(), before + 1);
    }

    void threadFollowsNewMessages() {
        const QString id = conversationWith("waiting", "p1");
        selectProject(u"p1"_qs);
        const auto addMessages = [&](int n) { addVisitorMessages(id, n); };
        open(id);
        addMessages(25);
        QQuickItem* list = find("messageList");
        QTRY_COMPARE(list->property("count").toInt(), ui->state().messages(id).size());
        QTRY_VERIFY(list->property("contentHeight").toReal() > list->height());
        QTRY_VERIFY(list->property("atYEnd").toBool()); // at the bottom, it followed

        // A reply of several lines makes the pane shorter: the newest message stays in view.
        const qreal tall = list->height();
        type(u"One\ntwo\nthree\nfour\nfive"_qs);
        QTRY_VERIFY(list->height() < tall);
        QTRY_VERIFY(list->property("atYEnd").toBool());
        type(QString());

        // Scrolled up: it stays put, and says that more arrived.
        list->setProperty("contentY", list->property("originY")); // at the top
        QMetaObject::invokeMethod(list, "movementEnded");
        QVERIFY(!list->property("atYEnd").toBool());
        addMessages(1);
        QTRY_VERIFY(find("newMessagesPill")->isVisible());
        QVERIFY(!list->property("atYEnd").toBool());
        QVERIFY(UiHarness::click(find("newMessagesPill")));
        QTRY_VERIFY(list->property("atYEnd").toBool());
        QVERIFY(!find("newMessagesPill")->isVisible());
    }

    // The newest message is at the bottom and made first, yet Tab and a screen
    // reader take the bubbles from the top down, also after scrolling back.
    // A short thread starts at the top of the pane.
    void bubblesAreReadFromTheTopDown() {
        const QString id = conversationWith("waiting", "p2");
        selectProject(u"p2"_qs);
        open(id);
        QQuickItem* list = find("messageList");
        QTRY_COMPARE(list->property("count").toInt(), ui->state().messages(id).size());
        // Every bubble is made; the oldest sits at the top of the pane, below its margin.
        const QString oldest = ui->state().messages(id).first().id;
        QTRY_COMPARE(messagesAsRead().size(), ui->state().messages(id).size());
        QQuickItem* oldestBubble = ui->find("bubble_" + oldest);
        QTRY_COMPARE(oldestBubble->mapToItem(list->parentItem(), QPointF()).y(), 20.0);
        QTRY_VERIFY(inConversationOrder(id, messagesAsRead()));

        addVisitorMessages(id, 30, u"p2"_qs);
        QTRY_COMPARE(list->property("count").toInt(), ui->state().messages(id).size());
        QTRY_VERIFY(list->property("atYEnd").toBool());
        QTRY_VERIFY(ui->find("bubble_" + ui->state().messages(id).last().id));
        QTRY_VERIFY(inConversationOrder(id, messagesAsRead()));
        QVERIFY(!messagesAsRead().contains(ui->state().messages(id).first().id));

        // Back at the top, the bubbles made there come first, and Tab goes down the thread.
        list->setProperty("contentY", list->property("originY"));
        QTRY_VERIFY(messagesAsRead().contains(ui->state().messages(id).first().id));
        QTRY_VERIFY(inConversationOrder(id, messagesAsRead()));
        QQuickItem* firstText = inBubble("bubble_" + messagesAsRead().first(), "messageText");
        QVERIFY(firstText);
        const QStringList tabbed = messagesAsTabbed(firstText);
        QVERIFY2(tabbed.size() > 1 && inConversationOrder(id, tabbed),
                 qPrintable(tabbed.join(u' ')));
    }

    // Every control a user can act on, anywhere in the workspace, has a name.
    void everyControlIsNamed() {
        open(conversationWith("waiting"));
        const QStringList unnamed = ui->unnamedControls();
        QVERIFY2(unnamed.isEmpty(), qPrintable(unnamed.join(", ")));
    }
};

QTEST_MAIN(TestThreadView)
#include "tst_threadview.moc"
