// kestovar: the operator console.

#include "StopSignals.h"
#include "service/Configuration.h"
#include "shell/Shell.h"
#include "shell/SingleInstance.h"

#include <QCommandLineParser>
#include <QGuiApplication>
#include <QIcon>
#include <QQuickStyle>
#include <QtQml/qqmlextensionplugin.h>

#include <cstdio>

Q_IMPORT_QML_PLUGIN(KestovarPlugin)

int main(int argc, char** argv) {
    // Read before any application object exists: a second launch hands over and leaves.
    QStringList arguments;
    for (int i = 1; i < argc; ++i)
        arguments.append(QString::fromLocal8Bit(argv[i]));
    // Answered without a display, a session or another console's lock.
    if (arguments.contains(QStringLiteral("--version"))) {
        std::printf("kestovar %s\n", qPrintable(kv::Configuration::version()));
        return 0;
    }
    const bool demo = arguments.contains(QStringLiteral("--demo"));
    const auto url = kv::SingleInstance::urlArgument(arguments);

    // The demo runs beside a real console, under a name of its own.
    kv::SingleInstance instance(demo ? QStringLiteral("com.kestovar.Kestovar.demo-%1")
                                           .arg(QCoreApplication::applicationPid())
                                     : QStringLiteral("com.kestovar.Kestovar"));
    if (!instance.tryBecomePrimary()) {
        const QString message = url ? url->toString(QUrl::FullyEncoded)
                                    : QString::fromLatin1(kv::SingleInstance::kActivate);
        if (instance.forward(message))
            return 0;
        std::fprintf(stderr, "kestovar: another instance holds the lock but does not answer\n");
        return 1;
    }

    QGuiApplication app(argc, argv);
    QGuiApplication::setApplicationName(QStringLiteral("Kestovar"));
    QGuiApplication::setOrganizationName(QStringLiteral("Kestovar"));
    QGuiApplication::setOrganizationDomain(QStringLiteral("kestovar.com"));
    QGuiApplication::setDesktopFileName(QStringLiteral("com.kestovar.Kestovar"));
    QGuiApplication::setWindowIcon(QIcon(QStringLiteral(":/Kestovar/appicon/app.svg")));
    // Notifications keep arriving with the window closed; the tray brings it back.
    QGuiApplication::setQuitOnLastWindowClosed(false);
    if (qEnvironmentVariableIsEmpty("QT_QUICK_CONTROLS_STYLE"))
        QQuickStyle::setStyle(QStringLiteral("Fusion"));

    QCommandLineParser parser;
    parser.setApplicationDescription(QStringLiteral("The Kestovar operator console."));
    parser.addHelpOption();
    parser.addOption({"version", "Print the version and quit."});
    parser.addOptions({
        {"demo", "Run against an embedded simulated service."},
        {"agents", "With --demo: how many agents the simulated account has.", "N", "7"},
        {"hostile",
         "With --demo: every text of the simulated account is hostile (markup, images, script "
         "links, control characters), to see that all of it shows literally."},
        {"measure-startup",
         "Report the first signed-in frame, then quit (with --demo: start signed in)."},
    });
    parser.addPositionalArgument("url", "A kestovar: link to open.", "[url]");
    parser.process(app);

    instance.listen();
    kv::Shell::Options options;
    options.demo = parser.isSet("demo");
    options.demoAgents = std::max(1, parser.value("agents").toInt());
    options.measureStartup = parser.isSet("measure-startup");
    options.demoHostile = parser.isSet("hostile");
    kv::Shell shell(options, &instance);
    if (!shell.start())
        return 1;
    // Interrupted or terminated: quit properly, so the demo's files and connections are closed.
    kv::StopSignals stop;
    QObject::connect(&stop, &kv::StopSignals::stopRequested, &app,
                     [] { QCoreApplication::exit(0); });
    if (url)
        shell.handleUrl(*url);
    return app.exec();
}
