// A bare Qt Quick window with a 50-row list: what the console's start-up is
// measured against. Prints the same line as `kestovar --measure-startup`.

#include <QFile>
#include <QGuiApplication>
#include <QQmlApplicationEngine>
#include <QQuickWindow>

#include "shell/ProcessStats.h"

#include <cstdio>

int main(int argc, char** argv) {
    QGuiApplication app(argc, argv);
    QQmlApplicationEngine engine;
    engine.load(QUrl(QStringLiteral("qrc:/bare/BareWindow.qml")));
    auto* window = qobject_cast<QQuickWindow*>(engine.rootObjects().value(0));
    if (!window)
        return 1;
    QObject::connect(window, &QQuickWindow::frameSwapped, &app, [] {
        std::printf("first-frame after=%lld ms peak-rss=%s pss=%s\n", kv::process::msSinceStart(),
                    kv::process::field("/proc/self/status", "VmHWM:").constData(),
                    kv::process::field("/proc/self/smaps_rollup", "Pss:").constData());
        std::fflush(stdout);
        QCoreApplication::quit();
    });
    return app.exec();
}
