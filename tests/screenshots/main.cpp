// Renders the screens to PNG files for review: every scene in light and dark,
// at normal and extra-large text, each in a console of its own against the
// simulated service.
//
//   kestovar-screenshots [--hostile] OUT_DIR
//
// Writes OUT_DIR/<scene>-<light|dark>-<normal|large>.png (the sign-in screen:
// OUT_DIR/signin-<light|dark>.png) and prints "screenshot: <path>" for each.

#include "Scenes.h"
#include "UiHarness.h"

#include <QDir>
#include <QGuiApplication>

using namespace kv;
using namespace kv::test;

namespace {

QString scheme(AppearancePreference appearance) {
    return appearance == AppearancePreference::dark ? QStringLiteral("dark")
                                                    : QStringLiteral("light");
}

bool render(const Scene& scene, bool hostile, const QString& dir) {
    sim::SimConfig config;
    config.hostile = hostile;
    UiHarness ui(config, scene.notificationService);
    if (!ui.load() || (scene.signedIn && !ui.signIn())) {
        qWarning().noquote() << "screenshots: the console did not come up for" << scene.name;
        return false;
    }
    settle(2);
    scene.setUp(ui);
    const QList<FontSizePreference> sizes =
        scene.everyTextSize
            ? QList<FontSizePreference>{FontSizePreference::normal, FontSizePreference::extraLarge}
            : QList<FontSizePreference>{FontSizePreference::normal};
    for (const auto appearance : {AppearancePreference::light, AppearancePreference::dark}) {
        for (const auto size : sizes) {
            ui.state().setAppearance(appearance);
            ui.state().setFontSize(size);
            settle(3);
            QString name = scene.name + u'-' + scheme(appearance);
            if (scene.everyTextSize)
                name += size == FontSizePreference::normal ? QStringLiteral("-normal")
                                                           : QStringLiteral("-large");
            const QString path = dir + u'/' + name + QStringLiteral(".png");
            if (!ui.window()->grabWindow().save(path))
                return false;
            qInfo().noquote() << "screenshot:" << path;
        }
    }
    return true;
}

} // namespace

int main(int argc, char** argv) {
    QGuiApplication app(argc, argv); // as the console runs
    QStringList arguments = app.arguments().mid(1);
    const bool hostile = arguments.removeAll(QStringLiteral("--hostile")) > 0;
    if (arguments.size() != 1) {
        qWarning("usage: kestovar-screenshots [--hostile] OUT_DIR");
        return 2;
    }
    const QString dir = QDir(arguments.first()).absolutePath();
    QDir().mkpath(dir);
    for (const Scene& scene : scenes()) {
        if (!render(scene, hostile, dir))
            return 1;
    }
    return 0;
}
