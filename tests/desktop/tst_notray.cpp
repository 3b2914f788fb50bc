// A desktop without a tray host (stock GNOME; this session has none): the
// console's window cannot go to a tray, so closing it minimises it, the
// operator is told why once, and Quit is within reach in the window.

#include "DemoShell.h"
#include "DesktopServices.h"
#include "LogCapture.h"
#include "TrayIcon.h"

#include <QGuiApplication>
#include <QQuickWindow>
#include <QSignalSpy>
#include <QTest>

using namespace kv;

class TestNoTray : public QObject {
    Q_OBJECT

private slots:
    void closingMinimisesAndSaysWhyOnce() {
        QVERIFY(!TrayIcon::create());
        test::LogCapture log;
        test::DemoShell console(QStringLiteral("com.kestovar.Kestovar.notray-test"));
        QVERIFY(console.start());
        Shell& shell = console.shell;
        QQuickWindow* window = shell.mainWindow();

        const auto told = [&] {
            return log.messages("AppDelegate")
                .filter(QStringLiteral("told the operator why"))
                .size();
        };
        for (int close = 0; close < 2; ++close) {
            QVERIFY(!window->close()); // refused: it stays, minimised
            QVERIFY(window->isVisible());
            QTRY_VERIFY(window->windowStates() & Qt::WindowMinimized);
            QCOMPARE(told(), 1);
            shell.showMainWindow();
            window->showNormal();
        }

        // Quit is within reach in the window, in the account menu.
        QSignalSpy quitting(DesktopServices::instance(), &DesktopServices::quitRequested);
        QObject* account = window->findChild<QObject*>(QStringLiteral("accountMenuButton"));
        QVERIFY(account);
        QMetaObject::invokeMethod(account, "press");
        QObject* quit = nullptr;
        QTRY_VERIFY((quit = window->findChild<QObject*>(QStringLiteral("quitItem"))));
        QMetaObject::invokeMethod(quit, "triggered");
        QTRY_COMPARE(quitting.size(), 1);
    }
};

int main(int argc, char** argv) {
    QGuiApplication app(argc, argv);
    QGuiApplication::setQuitOnLastWindowClosed(false);
    TestNoTray test;
    return QTest::qExec(&test, argc, argv);
}

#include "tst_notray.moc"
