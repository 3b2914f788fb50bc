// An account whose every text is hostile — HTML with images pointing at a
// counting server, Markdown images, script and file links, direction
// overrides, zero-width characters, a 100 000-letter word, NUL and an
// unpaired surrogate — walked through every screen, panel and settings tab of
// the real window. The console stays up, fetches nothing but the logos the
// service named, and shows every text literally.

#include "Await.h"
#include "RequestCounter.h"
#include "SimHostile.h"
#include "UiHarness.h"

#include <QBuffer>
#include <QQmlComponent>
#include <QQuickItem>
#include <QQuickWindow>
#include <QTest>
#include <QtQml/qqmlextensionplugin.h>

Q_IMPORT_QML_PLUGIN(KestovarPlugin)

using namespace kv;
using kv::test::await;
using kv::test::RequestCounter;
using kv::test::UiHarness;

class TestHostile : public QObject {
    Q_OBJECT

    RequestCounter counter;
    std::unique_ptr<UiHarness> ui;
    QStringList m_hostile;        // the texts as the service holds them
    QStringList m_shownLiterally; // the hostile texts seen on screen, as they are
    QStringList m_problems;

    QQuickItem* find(const char* name) const { return ui->find(QString::fromLatin1(name)); }
    QObject* object(const char* name) const { return ui->findObject(QString::fromLatin1(name)); }
    QString textOf(const char* name) const { return UiHarness::text(find(name)); }

    bool hostile(const QString& text) const {
        return text.contains(u'<') || text.contains(u"](") || text.contains(QChar(0x202E)) ||
               text.contains(QChar(0)) || text.contains(u"WWWWWWWWWW");
    }

    // Every text item showing something hostile shows it as plain text; the one
    // place markup renders (assistant and operator bubbles) holds no live tag.
    void look(const QString& where, QQuickWindow* window = nullptr) {
        for (QQuickItem* item : UiHarness::itemsOf(window ? window : ui->window())) {
            if (!item->isVisible() ||
                !(item->inherits("QQuickText") || item->inherits("QQuickTextEdit")))
                continue;
            const QString text = item->property("text").toString();
            if (!hostile(text) && !m_hostile.contains(text))
                continue;
            // Text.PlainText and TextEdit.PlainText are both 0.
            const int format = item->property("textFormat").toInt();
            if (format == 0) {
                if (m_hostile.contains(text) && !m_shownLiterally.contains(text))
                    m_shownLiterally.append(text);
                continue;
            }
            if (item->objectName() == u"messageText" &&
                !text.contains(u"<img", Qt::CaseInsensitive))
                continue; // the escaped Markdown of a bubble
            m_problems << QStringLiteral("%1: %2 shows \"%3\" as markup")
                              .arg(where, QString::fromLatin1(item->metaObject()->className()),
                                   text.left(80));
        }
    }

    void waitAndLook(const QString& where, const std::function<bool()>& ready) {
        if (!QTest::qWaitFor(ready, 10'000))
            m_problems << where + u": never showed"_qs;
        // Drawn, so that anything a text would load has been asked for.
        QVERIFY(QTest::qWaitForWindowExposed(ui->window()));
        ui->window()->grabWindow();
        look(where);
    }

private slots:
    void initTestCase() {
        sim::SimConfig config;
        config.hostile = true;
        config.beacon = counter.origin();
        config.data.visitors = 12;
        ui = std::make_unique<UiHarness>(config);
        QBuffer png;
        png.open(QIODevice::WriteOnly);
        QImage red(8, 8, QImage::Format_RGB32);
        red.fill(Qt::red);
        red.save(&png, "PNG");
        counter.bodies.insert(u"/last.png"_qs, png.data());
        // One logo the service names, on the counting origin: the one thing that may be fetched.
        ui->sim().withData([&](sim::SimData& data) {
            data.projects[0].widgetLogoUrl = counter.origin() + "/logo.png";
            for (const sim::SimConversation& c : data.conversations) {
                m_hostile << c.visitorName.value_or(QString()) << c.tags
                          << c.aiEscalationReason.value_or(QString());
                for (const sim::SimMessage& m : c.messages)
                    m_hostile << m.content;
            }
            for (const sim::SimProject& p : data.projects)
                m_hostile << p.name;
            for (const sim::SimVisitor& v : data.visitors)
                m_hostile << v.pageTitle.value_or(QString());
            for (const auto& list : data.snippets) {
                for (const sim::SimSnippet& s : list)
                    m_hostile << s.title << s.body;
            }
            m_hostile << data.user.name;
        });
        QVERIFY(ui->load());
        QVERIFY(ui->signIn());
        ui->window()->requestActivate();
    }

    void cleanupTestCase() { ui.reset(); }
    // Every binding held: no screen hid a script error behind a passing check.
    void cleanup() {
        const QStringList errors = ui->takeScriptErrors();
        QVERIFY2(errors.isEmpty(), qPrintable(errors.join(u'\n')));
    }

    void inboxAndThreads() {
        waitAndLook(u"inbox"_qs, [&] { return ui->visible("conversationList").size() == 1; });
        // Each conversation of the first agents: thread, suggestion, context panel.
        ui->state().setSelectedProjectID(u"p1"_qs);
        QTRY_VERIFY(!ui->state().conversations().isEmpty() &&
                    ui->state().conversations().first().projectID == u"p1");
        const QList<Conversation> conversations = ui->state().conversations();
        for (const Conversation& c : conversations) {
            ui->state().setSelectedConversationID(c.id);
            waitAndLook(u"thread "_qs + c.id, [&] {
                return find("chatThread") &&
                       find("chatThread")->property("conversationID").toString() == c.id &&
                       !ui->state().messages(c.id).isEmpty();
            });
            QCOMPARE(textOf("threadVisitor"), c.visitorName.value_or(u"Anonymous visitor"_qs));
        }
        // A reason with markup is shown as written.
        QVERIFY(find("escalationReason"));
        QCOMPARE(textOf("escalationReason"), conversations.last().aiEscalationReason.value_or(""));

        // One the operator answers: the composer's snippets and a translation.
        const auto waiting =
            std::find_if(conversations.begin(), conversations.end(), [](const Conversation& c) {
                return c.status == ConversationStatus::waiting;
            });
        QVERIFY(waiting != conversations.end());
        ui->state().setSelectedConversationID(waiting->id);
        QTRY_VERIFY(!ui->visible("snippetMenuButton").isEmpty() &&
                    find("chatThread")->property("conversationID").toString() == waiting->id);

        // The snippets offered by "/" and by the menu.
        object("composerModel")->setProperty("draft", u"/"_qs);
        waitAndLook(u"snippet picker"_qs, [&] { return !ui->visible("snippetRow").isEmpty(); });
        object("composerModel")->setProperty("draft", QString());
        QVERIFY(UiHarness::click(ui->visible("snippetMenuButton").first()));
        waitAndLook(u"snippet menu"_qs,
                    [&] { return object("snippetMenu")->property("visible").toBool(); });
        QMetaObject::invokeMethod(object("snippetMenu"), "close");

        // A translation that comes back hostile.
        const auto isVisitor = [](const Message& m) { return m.role == MessageRole::user; };
        const QList<Message> messages = ui->state().messages(waiting->id);
        const auto visitor = std::find_if(messages.begin(), messages.end(), isVisitor);
        QVERIFY(visitor != messages.end());
        QMetaObject::invokeMethod(object("threadController"), "translate",
                                  Q_ARG(QString, visitor->id), Q_ARG(int, 1));
        waitAndLook(u"translated message"_qs, [&] {
            for (const Message& m : ui->state().messages(waiting->id)) {
                if (m.id == visitor->id)
                    return m.translation.has_value();
            }
            return false;
        });
    }

    void liveVisitors() {
        ui->state().setSelectedProjectID(std::nullopt);
        ui->state().setSelectedSection(AppSection::visitors);
        QTRY_VERIFY(!ui->visible("visitorGroupHeader").isEmpty());
        QObject* model = object("visitorsModel");
        if (!model->property("allExpanded").toBool())
            QMetaObject::invokeMethod(model, "toggleAll");
        waitAndLook(u"visitors"_qs, [&] { return !ui->visible("visitorRow").isEmpty(); });
        QMetaObject::invokeMethod(ui->visible("visitorRow").first(), "clicked");
        waitAndLook(u"visitor detail"_qs,
                    [&] { return find("visitorDetailPanel")->property("opacity") == 1.0; });
    }

    void statsAndSettings() {
        ui->state().setSelectedSection(AppSection::stats);
        waitAndLook(u"stats"_qs,
                    [&] { return find("topAgentsCard") && find("topAgentsCard")->isVisible(); });
        ui->state().setSelectedSection(AppSection::settings);
        const char* tabs[] = {"accountTab", "notificationsTab", "snippetsTab", "aboutTab"};
        for (int tab = 0; tab < 4; ++tab) {
            QTRY_VERIFY(find("settingsTabs"));
            find("settingsTabs")->setProperty("currentIndex", tab);
            waitAndLook(QString::fromLatin1(tabs[tab]),
                        [&] { return find(tabs[tab]) && find(tabs[tab])->isVisible(); });
        }
        // The snippets, listed and opened in the editor.
        find("settingsTabs")->setProperty("currentIndex", 2);
        QTRY_VERIFY(!ui->visible("editSnippet").isEmpty());
        QVERIFY(UiHarness::click(ui->visible("editSnippet").first()));
        waitAndLook(u"snippet editor"_qs,
                    [&] { return object("snippetEditor")->property("visible").toBool(); });
        QVERIFY(UiHarness::click(find("snippetCancel")));
        // The translation picker's list names languages; the snippets tab's names agents.
        find("settingsTabs")->setProperty("currentIndex", 2);
        QQuickItem* agents = find("snippetProjectPicker");
        QVERIFY(UiHarness::click(agents));
        waitAndLook(u"agent list"_qs, [&] {
            return agents->property("popup").value<QObject*>()->property("visible").toBool();
        });
        QMetaObject::invokeMethod(agents->property("popup").value<QObject*>(), "close");
    }

    void quickReplyWindow() {
        const Conversation target = ui->state().conversations().value(0);
        QQmlComponent component(&ui->engine(), QUrl("qrc:/Kestovar/shell/QuickReplyWindow.qml"));
        std::unique_ptr<QObject> window(component.createWithInitialProperties(
            {{"projectID", target.projectID},
             {"conversationID", target.id},
             {"projectName", ui->state().projects().first().name},
             {"visitorName", target.visitorName.value_or(QString())}}));
        QVERIFY(window);
        auto* quick = qobject_cast<QQuickWindow*>(window.get());
        quick->show();
        QVERIFY(QTest::qWaitForWindowExposed(quick));
        look(u"quick reply"_qs, quick);
    }

    // Last: nothing was fetched but the named logos, and every kind of hostile text showed.
    void nothingFetchedEverythingLiteral() {
        // Barrier: a second logo the service names now (of an agent in no client
        // group, so always in the sidebar), fetched after everything above.
        ui->sim().withData([&](sim::SimData& data) {
            for (sim::SimProject& p : data.projects) {
                if (!p.clientId)
                    p.widgetLogoUrl = counter.origin() + "/last.png";
            }
        });
        ui->state().setSelectedSection(AppSection::inbox);
        await(ui->state().realtimeRefresh());
        QTRY_VERIFY2(counter.requests.contains(u"GET /last.png"_qs),
                     qPrintable(counter.requests.join(u", ")));
        // The logo drawn is that image, in its tile's place.
        const auto canvas = [&]() -> QQuickItem* {
            for (QQuickItem* item : ui->items()) {
                if (item->inherits("QQuickCanvasItem") && item->isVisible())
                    return item;
            }
            return nullptr;
        };
        QTRY_VERIFY(canvas());
        QQuickItem* drawn = canvas();
        const QPoint middle =
            drawn->mapToScene({drawn->width() / 2, drawn->height() / 2}).toPoint();
        QTRY_COMPARE(ui->window()->grabWindow().pixelColor(middle), QColor(Qt::red));
        QStringList others = counter.requests;
        others.removeAll(u"GET /logo.png"_qs);
        others.removeAll(u"GET /last.png"_qs);
        QVERIFY2(others.isEmpty(), qPrintable("fetched: " + others.join(", ")));
        QVERIFY2(m_problems.isEmpty(), qPrintable(m_problems.join(u'\n')));

        // Each kind of hostile text was on screen, exactly as the service holds it.
        const QStringList kinds = sim::hostileTexts(counter.origin()) << sim::endlessWord();
        for (const QString& kind : kinds) {
            QVERIFY2(m_shownLiterally.contains(kind),
                     qPrintable("never shown literally: " + kind.left(60)));
        }
    }
};

QTEST_MAIN(TestHostile)
#include "tst_hostile.moc"
