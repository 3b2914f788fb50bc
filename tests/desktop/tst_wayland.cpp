// The console natively on Wayland: a headless Weston as the compositor, a
// session bus of the test's own, and on it a notification server that offers
// only actions and plain bodies (as GNOME Shell does). The window shows and
// signs in; a click on a notification brings it back with the activation
// token the server sent; the reply action opens the quick-reply window.

#include "DemoShell.h"
#include "DesktopServices.h"
#include "FakeNotificationServer.h"
#include "notifications/NotificationManager.h"
#include "state/AppState.h"

#include <QFileInfo>
#include <QGuiApplication>
#include <QProcess>
#include <QQuickWindow>
#include <QTest>
#include <QThread>

#include <csignal>

using namespace kv;

class TestWayland : public QObject {
    Q_OBJECT

private slots:
    void consoleOnWayland() {
        QCOMPARE(QGuiApplication::platformName(), u"wayland"_qs);
        test::FakeNotificationServer server("org.freedesktop.Notifications", {"actions", "body"});
        QVERIFY(server.isRegistered());
        test::DemoShell console(QStringLiteral("com.kestovar.Kestovar.wayland-test"));
        QVERIFY(console.start());
        Shell& shell = console.shell;
        QQuickWindow* window = shell.mainWindow();
        QTRY_VERIFY(!shell.state().conversations().isEmpty());
        const Conversation waiting = shell.state().conversations().first();

        // A visitor's words, shown as written by a server that reads no markup.
        const QString body = QStringLiteral("Tom & <i>Jerry</i> <b>now</b>");
        DesktopServices::instance()->notifications()->fire(QStringLiteral("A visitor waits"), body,
                                                           waiting.projectID, waiting.id, true);
        const auto posted = [&]() -> const test::NotifyCall* {
            for (const test::NotifyCall& call : server.calls)
                if (call.summary == u"A visitor waits")
                    return &call;
            return nullptr;
        };
        QTRY_VERIFY(posted());
        QCOMPARE(posted()->body, body);
        QVERIFY(posted()->actions.contains(u"reply"_qs));
        const uint id = posted()->id;

        // Put away, then clicked: back on screen, the token handed to the compositor.
        window->hide();
        QTRY_VERIFY(!window->isExposed());
        server.invokeAction(id, "default", QStringLiteral("kestovar-test-token"));
        QTRY_VERIFY(window->isVisible() && window->isExposed());
        // Where Qt's Wayland window takes it when it activates; Weston 10 offers no
        // xdg-activation to spend it on, so here it stays there.
        QCOMPARE(qgetenv("XDG_ACTIVATION_TOKEN"), QByteArray("kestovar-test-token"));

        // No inline reply here: the reply action opens the quick-reply window.
        server.invokeAction(id, "reply");
        const auto quickReply = [] {
            for (QWindow* w : QGuiApplication::topLevelWindows())
                if (w->objectName() == u"quickReplyWindow" && w->isExposed())
                    return true;
            return false;
        };
        QTRY_VERIFY(quickReply());
    }
};

namespace {

// A helper process of the test's own, ended by its id; a watcher beside it
// ends it too should the test die first. Its output goes nowhere: a helper
// that held the test's output open would keep ctest waiting.
qint64 startHelper(const QString& program, const QStringList& arguments, const QString& socket) {
    QProcess helper;
    helper.setProgram(QStringLiteral("sh"));
    helper.setArguments({"-c", R"("$@" & h=$!; trap 'kill $h 2>/dev/null; exit 0' TERM
            while kill -0 "$KV_TEST_PID" 2>/dev/null && kill -0 $h 2>/dev/null; do sleep 0.5; done
            kill $h 2>/dev/null)",
                         "helper", program});
    helper.setArguments(helper.arguments() + arguments);
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert("KV_TEST_PID", QString::number(QCoreApplication::applicationPid()));
    helper.setProcessEnvironment(env);
    helper.setStandardOutputFile(QProcess::nullDevice());
    helper.setStandardErrorFile(QProcess::nullDevice());
    qint64 pid = 0;
    if (!helper.startDetached(&pid))
        return 0;
    for (int i = 0; i < 100 && !QFileInfo::exists(socket); ++i)
        QThread::msleep(100);
    return QFileInfo::exists(socket) ? pid : 0;
}

} // namespace

int main(int argc, char** argv) {
    const QString runtime = qEnvironmentVariable("XDG_RUNTIME_DIR");
    const QString tag = QString::number(QCoreApplication::applicationPid());
    const QString busSocket = runtime + "/kv-bus-" + tag;
    const QString display = "kv-wayland-" + tag;
    const qint64 bus = startHelper(
        "dbus-daemon", {"--session", "--nofork", "--address=unix:path=" + busSocket}, busSocket);
    const qint64 weston = startHelper(
        "weston", {"--backend=headless-backend.so", "--socket=" + display, "--idle-time=0"},
        runtime + "/" + display);
    int status = 2;
    if (bus && weston) {
        qputenv("DBUS_SESSION_BUS_ADDRESS", "unix:path=" + busSocket.toUtf8());
        qputenv("WAYLAND_DISPLAY", display.toUtf8());
        qputenv("QT_QPA_PLATFORM", "wayland");
        // Headless Weston has no seat, and Qt 6.4's Wayland input method then
        // dereferences a missing input device: use the compose input method instead.
        qputenv("QT_IM_MODULE", "compose");
        qunsetenv("DISPLAY");
        QGuiApplication app(argc, argv);
        QGuiApplication::setQuitOnLastWindowClosed(false);
        TestWayland test;
        status = QTest::qExec(&test, argc, argv);
    } else {
        std::fprintf(stderr, "tst_wayland: could not start dbus-daemon and weston\n");
    }
    for (const qint64 pid : {weston, bus})
        if (pid)
            ::kill(pid_t(pid), SIGTERM);
    return status;
}

#include "tst_wayland.moc"
