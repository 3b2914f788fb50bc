// A bare Qt Quick window with a 50-row list: what the console's start-up is
// measured against. Prints the same line as `kestovar --measure-startup`.
//
//   bench_bare_window [WINDOW]
//
// WINDOW picks one of the windows in bare/ (default BareWindow, with Qt Quick
// Controls); the others add one module each to a window of Qt Quick alone,
// for the table of what each module costs at start. Built as
// bench_bare_widgets, it starts a widgets application with a small menu (as
// the tray's menu needs) around the window of Qt Quick alone.

#include <QGuiApplication>
#include <QQmlApplicationEngine>
#include <QQuickWindow>

#ifdef KV_BARE_WIDGETS
#include <QApplication>
#include <QMenu>
#endif

#include "shell/ProcessStats.h"

#include <cstdio>

int main(int argc, char** argv) {
#ifdef KV_BARE_WIDGETS
    QApplication app(argc, argv);
    QMenu menu;
    for (const char* entry : {"Open Kestovar", "Pause notifications", "Quit"})
        menu.addAction(QString::fromLatin1(entry));
    const QString window = QStringLiteral("Plain");
#else
    QGuiApplication app(argc, argv);
    const QString window =
        argc > 1 ? QString::fromLocal8Bit(argv[1]) : QStringLiteral("BareWindow");
#endif
    QQmlApplicationEngine engine;
    engine.load(QUrl(QStringLiteral("qrc:/bare/%1.qml").arg(window)));
    auto* shown = qobject_cast<QQuickWindow*>(engine.rootObjects().value(0));
    if (!shown)
        return 1;
    QObject::connect(shown, &QQuickWindow::frameSwapped, &app, [] {
        const qint64 after = kv::process::msSinceStart(); // before the memory figures are read
        std::printf("first-frame after=%lld ms peak-rss=%s pss=%s\n", after,
                    kv::process::field("/proc/self/status", "VmHWM:").constData(),
                    kv::process::field("/proc/self/smaps_rollup", "Pss:").constData());
        std::fflush(stdout);
        QCoreApplication::quit();
    });
    return app.exec();
}
