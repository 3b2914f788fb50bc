#include "Screenshots.h"

#include "DemoService.h"
#include "DesktopServices.h"
#include "FreedesktopNotifier.h"
#include "ObjectLookup.h"
#include "Timing.h"
#include "notifications/NotificationManager.h"
#include "service/Cancellation.h"
#include "state/AppState.h"

#include <QCoreApplication>
#include <QCoroTask>
#include <QDBusConnection>
#include <QDir>
#include <QQuickItem>
#include <QQuickWindow>

#include <functional>

namespace kv {

namespace {

using Scene = std::function<QCoro::Task<>()>;

QCoro::Task<> settle(int times = 1) {
    co_await sleepFor(Timing::current().screenshotSettle * times, Cancellation());
}

QString firstConversation(AppState& state, ConversationStatus status) {
    for (const Conversation& c : state.conversations()) {
        if (c.status == status)
            return c.id;
    }
    return QString();
}

} // namespace

void takeScreenshots(AppState& state, DemoService& service, QQuickWindow* window, QString dir) {
    [](AppState& state, DemoService& service, QQuickWindow* window, QString dir) -> QCoro::Task<> {
        QDir().mkpath(dir);
        auto grab = [window, dir](const QString& name) {
            const QString path = dir + u'/' + name + QStringLiteral(".png");
            window->grabWindow().save(path);
            qInfo().noquote() << "screenshot:" << path;
        };
        auto find = [window](const char* name) {
            return findObjectByName(window->contentItem(), QString::fromLatin1(name));
        };
        auto scheme = [](AppearancePreference appearance) {
            return QLatin1StringView(appearance == AppearancePreference::dark ? "dark" : "light");
        };
        auto open = [&state](ConversationStatus status) -> QCoro::Task<> {
            state.setSelectedConversationID(firstConversation(state, status));
            co_await settle(2);
        };
        auto type = [find](const QString& text) {
            if (QObject* editor = find("composerEditor"))
                editor->setProperty("text", text);
        };

        std::unique_ptr<FreedesktopNotifier> absentNotifier;
        std::unique_ptr<NotificationManager> absentManager;
        NotificationManager* realManager = nullptr;

        co_await settle(2);
        for (const auto appearance : {AppearancePreference::light, AppearancePreference::dark}) {
            state.setAppearance(appearance);
            co_await settle();
            grab(QStringLiteral("signin-") + scheme(appearance));
        }
        state.setAppearance(AppearancePreference::light);
        state.beginSignIn();
        for (int i = 0; i < 60 && state.loadState() != LoadState::loaded; ++i)
            co_await settle();
        // One agent without conversations, for its empty inbox.
        service.sim().withData([](sim::SimData& d) {
            d.conversations.removeIf(
                [](const sim::SimConversation& c) { return c.projectId == u"p7"; });
            return 0;
        });

        const QList<std::pair<QString, Scene>> scenes{
            {"inbox",
             [&]() -> QCoro::Task<> {
                 state.setSelectedSection(AppSection::inbox);
                 state.setSelectedProjectID(std::nullopt);
                 co_await open(ConversationStatus::waiting); // suggestion card, context panel
             }},
            {"inbox-filter-none",
             [&]() -> QCoro::Task<> {
                 state.setSelectedProjectID(QStringLiteral("p1"));
                 co_await settle();
                 if (QObject* inbox = find("inboxModel"))
                     inbox->setProperty("filter", 0); // "Needs reply"
                 service.sim().withData([](sim::SimData& d) {
                     for (auto& c : d.conversations) {
                         if (c.projectId == u"p1" && c.status == u"waiting")
                             c.status = "active";
                     }
                     return 0;
                 });
                 co_await state.loadConversations(QStringLiteral("p1"));
                 co_await settle();
             }},
            {"inbox-empty-agent",
             [&]() -> QCoro::Task<> {
                 if (QObject* inbox = find("inboxModel"))
                     inbox->setProperty("filter", 2); // "All"
                 state.setSelectedProjectID(QStringLiteral("p7"));
                 co_await settle(2);
             }},
            {"inbox-load-failed",
             [&]() -> QCoro::Task<> {
                 sim::Fault broken;
                 broken.method = QStringLiteral("GET");
                 broken.path = QStringLiteral("/api/v2/projects/p2/conversations");
                 broken.status = 503;
                 broken.body = R"({"error":"unavailable"})";
                 state.setSelectedProjectID(QStringLiteral("p2"));
                 co_await settle();
                 service.sim().addFault(broken);
                 co_await state.loadConversations(QStringLiteral("p2"));
                 co_await settle(); // the fault stays until the next scene: a refresh may come
             }},
            {"thread-active",
             [&]() -> QCoro::Task<> {
                 service.sim().clearFaults();
                 state.setSelectedProjectID(std::nullopt);
                 co_await settle();
                 co_await open(ConversationStatus::active);
             }},
            {"thread-operator",
             [&]() -> QCoro::Task<> { co_await open(ConversationStatus::operatorActive); }},
            {"thread-resolved",
             [&]() -> QCoro::Task<> { co_await open(ConversationStatus::resolved); }},
            {"thread-picker",
             [&]() -> QCoro::Task<> {
                 state.setSelectedProjectID(QStringLiteral("p2"));
                 co_await settle();
                 co_await open(ConversationStatus::operatorActive);
                 type(QStringLiteral("/"));
                 co_await settle();
             }},
            {"thread-translated",
             [&]() -> QCoro::Task<> {
                 type(QString());
                 const QString id = state.selectedConversationID().value_or(QString());
                 for (const Message& m : state.messages(id)) {
                     if (m.role == MessageRole::user) {
                         if (QObject* thread = find("threadController"))
                             QMetaObject::invokeMethod(thread, "translate", Q_ARG(QString, m.id),
                                                       Q_ARG(int, 0));
                         break;
                     }
                 }
                 co_await settle(3);
             }},
            {"thread-reply-failed",
             [&]() -> QCoro::Task<> {
                 const QString id = state.selectedConversationID().value_or(QString());
                 sim::Fault refuse;
                 refuse.method = QStringLiteral("POST");
                 refuse.path = QStringLiteral("/api/v2/projects/p2/conversations/") + id +
                               QStringLiteral("/send");
                 refuse.status = 503;
                 refuse.body = "The service is busy, try again in a moment";
                 refuse.times = 1;
                 service.sim().addFault(refuse);
                 type(QStringLiteral("Your parcel left our warehouse this morning."));
                 if (QObject* composer = find("composerModel"))
                     QMetaObject::invokeMethod(composer, "send", Q_ARG(bool, false));
                 co_await settle(3);
             }},
            {"thread-load-failed",
             [&]() -> QCoro::Task<> {
                 type(QString());
                 const QString id = state.selectedConversationID().value_or(QString());
                 sim::Fault broken;
                 broken.method = QStringLiteral("GET");
                 broken.path = QStringLiteral("/api/v2/projects/p2/conversations/") + id;
                 broken.status = 503;
                 broken.body = "The service is busy, try again in a moment";
                 broken.times = 1;
                 service.sim().addFault(broken);
                 co_await state.loadConversationDetail(id);
                 co_await settle();
             }},
            {"thread-long-message",
             [&]() -> QCoro::Task<> {
                 const QString id = state.selectedConversationID().value_or(QString());
                 QString text;
                 while (text.size() < 60'000)
                     text += QStringLiteral("Order %1 arrived with a damaged lid; the invoice "
                                            "lists it twice. ")
                                 .arg(text.size());
                 service.sim().withData([&](sim::SimData& d) {
                     if (sim::SimConversation* c = d.conversation(QStringLiteral("p2"), id))
                         c->messages.append(sim::SimMessage{d.nextId(QStringLiteral("msg_")),
                                                            id,
                                                            QStringLiteral("user"),
                                                            text,
                                                            QDateTime::currentDateTimeUtc(),
                                                            {},
                                                            {}});
                     return 0;
                 });
                 co_await state.loadConversationDetail(id);
                 co_await settle(2);
                 if (QObject* list = find("messageList"))
                     QMetaObject::invokeMethod(list, "positionViewAtEnd");
                 co_await settle();
             }},
            {"sidebar-grouped-search",
             [&]() -> QCoro::Task<> {
                 if (QObject* sidebar = find("sidebarModel")) {
                     sidebar->setProperty("search", QStringLiteral("e"));
                     QMetaObject::invokeMethod(sidebar, "toggleClient",
                                               Q_ARG(QString, state.clients().value(0).id));
                 }
                 co_await settle();
             }},
            {"visitors-grouped",
             [&]() -> QCoro::Task<> {
                 if (QObject* sidebar = find("sidebarModel")) {
                     sidebar->setProperty("search", QString());
                     QMetaObject::invokeMethod(sidebar, "toggleClient",
                                               Q_ARG(QString, state.clients().value(0).id));
                 }
                 state.setSelectedProjectID(std::nullopt);
                 state.setSelectedSection(AppSection::visitors);
                 co_await settle(2);
             }},
            {"visitors-expanded",
             [&]() -> QCoro::Task<> {
                 if (QObject* visitors = find("visitorsModel"))
                     QMetaObject::invokeMethod(visitors, "toggleAll");
                 co_await settle();
             }},
            {"visitors-detail",
             [&]() -> QCoro::Task<> {
                 const auto groups = state.visibleVisitorGroups();
                 if (!groups.isEmpty())
                     state.setSelectedVisitorID(groups.first().visitors.first().visitorID);
                 co_await settle(2);
             }},
            {"visitors-flat",
             [&]() -> QCoro::Task<> {
                 state.setSelectedProjectID(QStringLiteral("p1"));
                 co_await settle(2);
             }},
            {"visitors-empty",
             [&]() -> QCoro::Task<> {
                 service.sim().withData([](sim::SimData& d) {
                     d.visitors.removeIf(
                         [](const sim::SimVisitor& v) { return v.projectId == u"p7"; });
                     return 0;
                 });
                 state.setSelectedProjectID(QStringLiteral("p7"));
                 co_await settle(2);
             }},
            {"stats",
             [&]() -> QCoro::Task<> {
                 state.setSelectedProjectID(std::nullopt);
                 state.setSelectedSection(AppSection::stats);
                 co_await settle(4); // the chart arrives a moment after the figures
             }},
            {"stats-loading",
             [&]() -> QCoro::Task<> {
                 sim::Fault slow;
                 slow.kind = sim::Fault::Kind::delay;
                 slow.path = QStringLiteral("/api/v2/stats*");
                 slow.delayMs = 60'000;
                 slow.times = 1;
                 service.sim().addFault(slow);
                 state.setStatsDays(90);
                 co_await settle();
             }},
            {"stats-failed",
             [&]() -> QCoro::Task<> {
                 service.sim().clearFaults();
                 sim::Fault refuse;
                 refuse.path = QStringLiteral("/api/v2/stats*");
                 refuse.status = 503;
                 refuse.body = "The service is busy, try again in a moment";
                 service.sim().addFault(refuse);
                 state.setStatsDays(7);
                 co_await settle(2);
                 service.sim().clearFaults();
             }},
            {"settings-account",
             [&]() -> QCoro::Task<> {
                 state.setStatsDays(30);
                 state.setSelectedSection(AppSection::settings);
                 co_await settle(2);
             }},
            {"settings-notifications",
             [&]() -> QCoro::Task<> {
                 if (QObject* tabs = find("settingsTabs"))
                     tabs->setProperty("currentIndex", 1);
                 co_await settle(2);
             }},
            {"settings-no-notification-service",
             [&]() -> QCoro::Task<> {
                 // The same tab on a desktop where nothing shows notifications.
                 absentNotifier = std::make_unique<FreedesktopNotifier>(
                     QDBusConnection::sessionBus(), QStringLiteral("com.kestovar.NoSuchService"));
                 if (DesktopServices* desktop = DesktopServices::instance()) {
                     absentManager = std::make_unique<NotificationManager>(absentNotifier.get(),
                                                                           desktop->preferences());
                     realManager = desktop->notifications();
                     desktop->setNotifications(absentManager.get());
                 }
                 if (QObject* notif = find("notificationSettings"))
                     QMetaObject::invokeMethod(notif, "appear");
                 co_await settle(2);
             }},
            {"settings-snippets",
             [&]() -> QCoro::Task<> {
                 if (DesktopServices* desktop = DesktopServices::instance())
                     desktop->setNotifications(realManager);
                 state.setSelectedProjectID(QStringLiteral("p1"));
                 if (QObject* tabs = find("settingsTabs"))
                     tabs->setProperty("currentIndex", 2);
                 co_await settle(2);
             }},
            {"settings-editor",
             [&]() -> QCoro::Task<> {
                 if (QObject* library = find("snippetLibrary")) {
                     QMetaObject::invokeMethod(library, "startNew");
                     if (QObject* form = library->property("editor").value<QObject*>()) {
                         form->setProperty("title", QStringLiteral("Opening hours"));
                         form->setProperty("shortcut", QStringLiteral("hours"));
                         form->setProperty(
                             "body", QStringLiteral("We're open Monday to Friday, 9:00–17:00."));
                     }
                 }
                 co_await settle(2);
             }},
            {"settings-about",
             [&]() -> QCoro::Task<> {
                 if (QObject* library = find("snippetLibrary")) {
                     if (QObject* form = library->property("editor").value<QObject*>())
                         QMetaObject::invokeMethod(form, "cancel");
                 }
                 if (QObject* tabs = find("settingsTabs"))
                     tabs->setProperty("currentIndex", 3);
                 co_await settle(2);
             }},
        };
        // Each scene in every look; the scene's state carries into the next one.
        for (const auto& [name, scene] : scenes) {
            co_await scene();
            for (const auto appearance :
                 {AppearancePreference::light, AppearancePreference::dark}) {
                for (const auto size :
                     {FontSizePreference::normal, FontSizePreference::extraLarge}) {
                    state.setAppearance(appearance);
                    state.setFontSize(size);
                    co_await settle(3);
                    grab(QStringLiteral("%1-%2-%3")
                             .arg(name, scheme(appearance),
                                  size == FontSizePreference::normal ? QStringLiteral("normal")
                                                                     : QStringLiteral("large")));
                }
            }
            state.setAppearance(AppearancePreference::light);
            state.setFontSize(FontSizePreference::normal);
        }
        if (DesktopServices* desktop = DesktopServices::instance(); desktop && realManager)
            desktop->setNotifications(realManager);
        QCoreApplication::quit();
    }(state, service, window, std::move(dir));
}

} // namespace kv
