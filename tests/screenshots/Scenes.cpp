#include "Scenes.h"

#include "Composer.h"
#include "InboxModel.h"
#include "LiveVisitorsModel.h"
#include "NotificationSettings.h"
#include "SidebarModel.h"
#include "SnippetLibrary.h"
#include "SwitcherModel.h"
#include "ThreadController.h"
#include "Timing.h"
#include "UiHarness.h"

#include "Await.h"

#include <QTest>

namespace kv::test {

void settle(int times) {
    QTest::qWait(int(Timing::current().screenshotSettle.count()) * times);
}

namespace {

template <typename T>
T* part(UiHarness& ui, const char* name) {
    settle();
    return qobject_cast<T*>(ui.findObject(QString::fromLatin1(name)));
}

QString firstConversation(AppState& state, ConversationStatus status,
                          const QString& projectID = QString()) {
    for (const Conversation& c : state.conversations()) {
        if (c.status == status && (projectID.isEmpty() || c.projectID == projectID))
            return c.id;
    }
    return QString();
}

void open(UiHarness& ui, ConversationStatus status, const QString& projectID = QString()) {
    if (!projectID.isEmpty()) {
        ui.state().setSelectedProjectID(projectID);
        settle();
    }
    ui.state().setSelectedConversationID(firstConversation(ui.state(), status, projectID));
    settle(2);
}

sim::Fault fault(const char* method, const QString& path, int status, int times = 0) {
    sim::Fault f;
    f.method = QString::fromLatin1(method);
    f.path = path;
    f.status = status;
    f.body = "The service is busy, try again in a moment";
    f.times = times;
    return f;
}

QString conversationPath(UiHarness& ui) {
    return QStringLiteral("/api/v2/projects/p2/conversations/") +
           ui.state().selectedConversationID().value_or(QString());
}

void removeConversationsOf(UiHarness& ui, const QString& projectID) {
    ui.sim().withData([&](sim::SimData& d) {
        d.conversations.removeIf(
            [&](const sim::SimConversation& c) { return c.projectId == projectID; });
        return 0;
    });
}

void showSettingsTab(UiHarness& ui, int tab) {
    ui.state().setSelectedSection(AppSection::settings);
    settle();
    if (QObject* tabs = ui.findObject(QStringLiteral("settingsTabs")))
        tabs->setProperty("currentIndex", tab);
    settle(2);
}

void showSection(UiHarness& ui, AppSection section, const QString& projectID = QString()) {
    ui.state().setSelectedProjectID(projectID.isEmpty() ? std::nullopt
                                                        : std::optional<QString>(projectID));
    ui.state().setSelectedSection(section);
    settle(2);
}

} // namespace

QList<Scene> scenes() {
    const QString p1 = QStringLiteral("p1"), p2 = QStringLiteral("p2"), p7 = QStringLiteral("p7");
    return {
        {"signin", [](UiHarness&) {}, false, false},
        // The suggestion card and the context panel.
        {"inbox", [](UiHarness& ui) { open(ui, ConversationStatus::waiting); }},
        {"inbox-filter-none",
         [p1](UiHarness& ui) {
             ui.sim().withData([&](sim::SimData& d) {
                 for (auto& c : d.conversations) {
                     if (c.projectId == p1 && c.status == u"waiting")
                         c.status = "active";
                 }
                 return 0;
             });
             showSection(ui, AppSection::inbox, p1);
             part<InboxModel>(ui, "inboxModel")->setFilter(int(inbox::Filter::waiting));
             await(ui.state().loadConversations(p1));
             settle();
         }},
        {"inbox-empty-agent",
         [p7](UiHarness& ui) {
             removeConversationsOf(ui, p7);
             showSection(ui, AppSection::inbox, p7);
             part<InboxModel>(ui, "inboxModel")->setFilter(int(inbox::Filter::all));
             await(ui.state().loadConversations(p7));
             settle();
         }},
        {"inbox-load-failed",
         [p2](UiHarness& ui) {
             showSection(ui, AppSection::inbox, p2);
             sim::Fault broken = fault("GET", "/api/v2/projects/p2/conversations", 503);
             broken.body = R"({"error":"unavailable"})";
             ui.sim().addFault(broken);
             await(ui.state().loadConversations(p2));
             settle();
         }},
        {"thread-active", [](UiHarness& ui) { open(ui, ConversationStatus::active); }},
        {"thread-operator", [](UiHarness& ui) { open(ui, ConversationStatus::operatorActive); }},
        {"thread-resolved", [](UiHarness& ui) { open(ui, ConversationStatus::resolved); }},
        {"thread-picker",
         [p2](UiHarness& ui) {
             open(ui, ConversationStatus::operatorActive, p2);
             part<Composer>(ui, "composerModel")->setDraft(QStringLiteral("/"));
             settle();
         }},
        {"thread-translated",
         [p2](UiHarness& ui) {
             open(ui, ConversationStatus::operatorActive, p2);
             const QString id = ui.state().selectedConversationID().value_or(QString());
             for (const Message& m : ui.state().messages(id)) {
                 if (m.role == MessageRole::user) {
                     part<ThreadController>(ui, "threadController")->translate(m.id, 0);
                     break;
                 }
             }
             settle(3);
         }},
        {"thread-reply-failed",
         [p2](UiHarness& ui) {
             open(ui, ConversationStatus::operatorActive, p2);
             ui.sim().addFault(fault("POST", conversationPath(ui) + "/send", 503, 1));
             Composer* composer = part<Composer>(ui, "composerModel");
             composer->setDraft(QStringLiteral("Your parcel left our warehouse this morning."));
             composer->send(false);
             settle(3);
         }},
        {"thread-load-failed",
         [p2](UiHarness& ui) {
             open(ui, ConversationStatus::operatorActive, p2);
             ui.sim().addFault(fault("GET", conversationPath(ui), 503, 1));
             await(ui.state().loadConversationDetail(
                 ui.state().selectedConversationID().value_or(QString())));
             settle();
         }},
        {"thread-long-message",
         [p2](UiHarness& ui) {
             open(ui, ConversationStatus::operatorActive, p2);
             const QString id = ui.state().selectedConversationID().value_or(QString());
             QString text;
             while (text.size() < 60'000)
                 text += QStringLiteral("Order %1 arrived with a damaged lid; the invoice "
                                        "lists it twice. ")
                             .arg(text.size());
             ui.sim().withData([&](sim::SimData& d) {
                 if (sim::SimConversation* c = d.conversation(p2, id))
                     c->messages.append(sim::SimMessage{d.nextId(QStringLiteral("msg_")),
                                                        id,
                                                        QStringLiteral("user"),
                                                        text,
                                                        QDateTime::currentDateTimeUtc(),
                                                        {},
                                                        {}});
                 return 0;
             });
             await(ui.state().loadConversationDetail(id));
             settle(2);
             if (QObject* list = ui.findObject(QStringLiteral("messageList"))) {
                 const qreal bottom = list->property("originY").toReal() +
                                      list->property("contentHeight").toReal() -
                                      list->property("height").toReal();
                 list->setProperty("contentY", bottom); // the newest message in view
             }
             settle();
         }},
        {"sidebar-grouped-search",
         [](UiHarness& ui) {
             SidebarModel* sidebar = part<SidebarModel>(ui, "sidebarModel");
             sidebar->setSearch(QStringLiteral("e"));
             sidebar->toggleClient(ui.state().clients().value(0).id);
             settle();
         }},
        {"visitors-grouped", [](UiHarness& ui) { showSection(ui, AppSection::visitors); }},
        {"visitors-expanded",
         [](UiHarness& ui) {
             showSection(ui, AppSection::visitors);
             part<LiveVisitorsModel>(ui, "visitorsModel")->toggleAll();
             settle();
         }},
        {"visitors-detail",
         [](UiHarness& ui) {
             showSection(ui, AppSection::visitors);
             part<LiveVisitorsModel>(ui, "visitorsModel")->toggleAll();
             const auto groups = ui.state().visibleVisitorGroups();
             if (!groups.isEmpty())
                 ui.state().setSelectedVisitorID(groups.first().visitors.first().visitorID);
             settle(2);
         }},
        {"visitors-flat", [p1](UiHarness& ui) { showSection(ui, AppSection::visitors, p1); }},
        {"visitors-empty",
         [p7](UiHarness& ui) {
             ui.sim().withData([&](sim::SimData& d) {
                 d.visitors.removeIf([&](const sim::SimVisitor& v) { return v.projectId == p7; });
                 return 0;
             });
             showSection(ui, AppSection::visitors, p7);
         }},
        {"stats",
         [](UiHarness& ui) {
             showSection(ui, AppSection::stats);
             settle(2); // the chart arrives a moment after the figures
         }},
        {"stats-loading",
         [](UiHarness& ui) {
             showSection(ui, AppSection::stats);
             sim::Fault slow;
             slow.kind = sim::Fault::Kind::delay;
             slow.path = QStringLiteral("/api/v2/stats*");
             slow.delayMs = 60'000;
             slow.times = 1;
             ui.sim().addFault(slow);
             ui.state().setStatsDays(90);
             settle();
         }},
        {"stats-failed",
         [](UiHarness& ui) {
             showSection(ui, AppSection::stats);
             ui.sim().addFault(fault("", QStringLiteral("/api/v2/stats*"), 503));
             ui.state().setStatsDays(7);
             settle(2);
         }},
        // Part of a name: agents, conversations, visitors, places and actions.
        {"switcher",
         [p2](UiHarness& ui) {
             open(ui, ConversationStatus::waiting, p2);
             await(ui.state().loadLiveVisitors(std::nullopt));
             QTest::keyClick(ui.window(), Qt::Key_K, Qt::ControlModifier);
             settle();
             if (auto* switcher = ui.window()->findChild<SwitcherModel*>())
                 switcher->setQuery(QStringLiteral("s"));
             settle(2);
         }},
        {"inbox-search",
         [](UiHarness& ui) {
             part<InboxModel>(ui, "inboxModel")->setSearch(QStringLiteral("an"));
             settle();
         }},
        {"inbox-search-none",
         [](UiHarness& ui) {
             part<InboxModel>(ui, "inboxModel")->setSearch(QStringLiteral("zebra"));
             settle();
         }},
        {"shortcuts-sheet",
         [](UiHarness& ui) {
             QTest::keyClick(ui.window(), Qt::Key_Slash, Qt::ControlModifier);
             settle(2);
         }},
        {"account-menu",
         [](UiHarness& ui) {
             QMetaObject::invokeMethod(ui.find(QStringLiteral("accountMenuButton")), "clicked");
             settle();
         }},
        {"settings-account", [](UiHarness& ui) { showSettingsTab(ui, 0); }},
        {"settings-notifications", [](UiHarness& ui) { showSettingsTab(ui, 1); }},
        // The same tab on a desktop where nothing shows notifications.
        {"settings-no-notification-service",
         [](UiHarness& ui) {
             showSettingsTab(ui, 1);
             part<NotificationSettings>(ui, "notificationSettings")->appear();
             settle(2);
         },
         true, true, QStringLiteral("com.kestovar.NoSuchService")},
        {"settings-snippets",
         [p1](UiHarness& ui) {
             ui.state().setSelectedProjectID(p1);
             showSettingsTab(ui, 2);
         }},
        {"settings-editor",
         [p1](UiHarness& ui) {
             ui.state().setSelectedProjectID(p1);
             showSettingsTab(ui, 2);
             SnippetLibrary* library = part<SnippetLibrary>(ui, "snippetLibrary");
             library->startNew();
             SnippetForm* form = library->editor();
             form->setProperty("title", QStringLiteral("Opening hours"));
             form->setProperty("shortcut", QStringLiteral("hours"));
             form->setProperty("body", QStringLiteral("We're open Monday to Friday, 9:00–17:00."));
             settle(2);
         }},
        {"settings-about", [](UiHarness& ui) { showSettingsTab(ui, 3); }},
    };
}

} // namespace kv::test
