// A desktop with a tray host: the console's item registers with the
// session's StatusNotifierWatcher (played here, on a thread of its own, as a
// panel would run it), and its menu is read and used over D-Bus the way the
// panel does. Runs on the session's X display: the platform's tray lives there.

#include "DemoShell.h"
#include "DesktopServices.h"
#include "UiTexts.h"

#include <QDBusArgument>
#include <QDBusConnection>
#include <QDBusContext>
#include <QDBusMessage>
#include <QDBusMetaType>
#include <QDBusPendingCall>
#include <QDBusVariant>
#include <QGuiApplication>
#include <QMutex>
#include <QQuickWindow>
#include <QSignalSpy>
#include <QTest>
#include <QThread>

#include <optional>

using namespace kv;

namespace {

const QString kWatcherService = u"org.kde.StatusNotifierWatcher"_qs;

// The panel's side: a watcher with a host, recording the items that register.
class Watcher : public QObject, protected QDBusContext {
    Q_OBJECT
    Q_CLASSINFO("D-Bus Interface", "org.kde.StatusNotifierWatcher")
    Q_PROPERTY(bool IsStatusNotifierHostRegistered READ hostRegistered)
    Q_PROPERTY(int ProtocolVersion READ protocolVersion)
    Q_PROPERTY(QStringList RegisteredStatusNotifierItems READ items)

public:
    bool hostRegistered() const { return true; }
    int protocolVersion() const { return 0; }
    QStringList items() const {
        QMutexLocker lock(&m_mutex);
        return m_items;
    }

public slots:
    void RegisterStatusNotifierItem(const QString& service) {
        // A path alone means the caller's own name; a name means its default path.
        const QString name = service.startsWith(u'/') ? message().service() : service;
        QMutexLocker lock(&m_mutex);
        m_items.append(name);
    }
    void RegisterStatusNotifierHost(const QString&) {}

private:
    mutable QMutex m_mutex;
    QStringList m_items;
};

struct MenuEntry {
    int id = 0;
    QString label;
    QString type;
    bool enabled = true;
    bool visible = true;
};

// A node of the menu's layout, (ia{sv}av): its id, its properties, its children.
struct LayoutNode {
    int id = 0;
    QVariantMap properties;
    QVariantList children;
};

LayoutNode nodeOf(const QDBusArgument& argument) {
    LayoutNode node;
    argument.beginStructure();
    argument >> node.id >> node.properties >> node.children;
    argument.endStructure();
    return node;
}

QList<MenuEntry> entriesOf(const QDBusArgument& layout) {
    QList<MenuEntry> entries;
    for (const QVariant& child : nodeOf(layout).children) {
        const LayoutNode item = nodeOf(child.value<QDBusArgument>()); // the variants come unwrapped
        entries.append({item.id, item.properties.value(u"label"_qs).toString(),
                        item.properties.value(u"type"_qs).toString(),
                        item.properties.value(u"enabled"_qs, true).toBool(),
                        item.properties.value(u"visible"_qs, true).toBool()});
    }
    return entries;
}

} // namespace

class TestTray : public QObject {
    Q_OBJECT

    QThread m_watcherThread;
    Watcher* m_watcher = nullptr;
    QDBusConnection m_panelBus{u"unset"_qs};
    std::optional<test::DemoShell> m_console;
    QString m_item; // the item's bus name
    QString m_menu; // its menu's object path

    // Asked as a panel asks: without blocking, so this thread can answer as the console.
    QDBusMessage ask(const QString& service, const QString& path, const QString& interface,
                     const QString& method, const QVariantList& arguments = {}) {
        QDBusMessage call = QDBusMessage::createMethodCall(service, path, interface, method);
        call.setArguments(arguments);
        QDBusPendingCall pending = m_panelBus.asyncCall(call);
        if (!QTest::qWaitFor([&] { return pending.isFinished(); }, 10'000))
            return {};
        return pending.reply();
    }

    QVariant itemProperty(const QString& name) {
        const QDBusMessage reply =
            ask(m_item, u"/StatusNotifierItem"_qs, u"org.freedesktop.DBus.Properties"_qs, u"Get"_qs,
                {u"org.kde.StatusNotifierItem"_qs, name});
        if (reply.type() != QDBusMessage::ReplyMessage || reply.arguments().isEmpty())
            return {};
        return qvariant_cast<QDBusVariant>(reply.arguments().first()).variant();
    }

    QList<MenuEntry> menu() {
        const QDBusMessage reply = ask(m_item, m_menu, u"com.canonical.dbusmenu"_qs,
                                       u"GetLayout"_qs, {0, -1, QStringList()});
        if (reply.type() != QDBusMessage::ReplyMessage || reply.arguments().size() < 2)
            return {};
        return entriesOf(reply.arguments().at(1).value<QDBusArgument>());
    }

    std::optional<MenuEntry> entry(const QString& label) {
        for (const MenuEntry& e : menu()) {
            if (e.label == label)
                return e;
        }
        return std::nullopt;
    }

    void click(const MenuEntry& entry) {
        ask(m_item, m_menu, u"com.canonical.dbusmenu"_qs, u"Event"_qs,
            {entry.id, u"clicked"_qs, QVariant::fromValue(QDBusVariant(0)), 0u});
    }

private slots:
    void initTestCase() {
        // The panel: its own connection, its watcher answering on its own thread.
        m_panelBus = QDBusConnection::connectToBus(QDBusConnection::SessionBus, u"panel"_qs);
        QVERIFY(m_panelBus.isConnected());
        m_watcher = new Watcher;
        m_watcher->moveToThread(&m_watcherThread);
        m_watcherThread.start();
        QVERIFY(m_panelBus.registerObject(u"/StatusNotifierWatcher"_qs, m_watcher,
                                          QDBusConnection::ExportAllSlots |
                                              QDBusConnection::ExportAllProperties));
        QVERIFY(m_panelBus.registerService(kWatcherService));

        m_console.emplace(u"com.kestovar.Kestovar.tray-test"_qs);
        QVERIFY(m_console->start());
        QTRY_COMPARE(m_watcher->items().size(), 1);
        m_item = m_watcher->items().first();
        m_menu = qvariant_cast<QDBusObjectPath>(itemProperty(u"Menu"_qs)).path();
        QVERIFY(!m_menu.isEmpty());
    }

    void cleanupTestCase() {
        m_console.reset();
        m_panelBus.unregisterService(kWatcherService);
        m_panelBus.unregisterObject(u"/StatusNotifierWatcher"_qs);
        m_watcherThread.quit();
        m_watcherThread.wait();
        delete m_watcher;
    }

    // The item names the console, and its menu holds the console's lines in
    // order, the unread line kept current and not choosable.
    void menuListsTheConsolesLines() {
        QCOMPARE(itemProperty(u"Id"_qs).toString().isEmpty(), false);
        AppState& state = m_console->shell.state();
        const QString unread = UiTexts::unreadLine(state.unreadTotal());
        QTRY_VERIFY(entry(unread).has_value());
        QVERIFY(!entry(unread)->enabled);

        QStringList shown;
        for (const MenuEntry& e : menu()) {
            if (e.visible)
                shown.append(e.type == u"separator" ? u"—"_qs : e.label);
        }
        QCOMPARE(shown, (QStringList{u"Open Kestovar"_qs, unread, u"—"_qs, u"Settings…"_qs,
                                     u"Check for Updates…"_qs, u"—"_qs, u"Quit Kestovar"_qs}));
    }

    // Clicking the item, or its "Open Kestovar", brings a closed window back.
    void itemAndOpenBringTheWindowBack() {
        QQuickWindow* window = m_console->shell.mainWindow();
        QVERIFY(window);
        window->close(); // with a tray, closing hides: the console stays
        QTRY_VERIFY(!window->isVisible());
        ask(m_item, u"/StatusNotifierItem"_qs, u"org.kde.StatusNotifierItem"_qs, u"Activate"_qs,
            {0, 0});
        QTRY_VERIFY(window->isVisible());

        window->close();
        QTRY_VERIFY(!window->isVisible());
        const auto open = entry(u"Open Kestovar"_qs);
        QVERIFY(open);
        click(*open);
        QTRY_VERIFY(window->isVisible());
    }

    void quitEndsTheConsole() {
        QSignalSpy quitting(DesktopServices::instance(), &DesktopServices::quitRequested);
        const auto quit = entry(u"Quit Kestovar"_qs);
        QVERIFY(quit);
        click(*quit);
        QTRY_COMPARE(quitting.size(), 1);
    }
};

int main(int argc, char** argv) {
    // The platform's tray needs a real display; the session provides one.
    if (qEnvironmentVariableIsEmpty("DISPLAY")) {
        std::fprintf(stderr, "tst_tray: no X display in this session (run it in the headless "
                             "session)\n");
        return 1;
    }
    qputenv("QT_QPA_PLATFORM", "xcb");
    QGuiApplication app(argc, argv);
    QGuiApplication::setQuitOnLastWindowClosed(false);
    TestTray test;
    return QTest::qExec(&test, argc, argv);
}

#include "tst_tray.moc"
