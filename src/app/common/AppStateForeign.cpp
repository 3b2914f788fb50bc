#include "AppStateForeign.h"

#include <QJSEngine>
#include <QPointer>

namespace kv {

namespace {

QPointer<AppState> current;
QPointer<Updater> currentUpdater;

} // namespace

void AppStateForeign::setInstance(AppState* state) {
    current = state;
}

AppState* AppStateForeign::instance() {
    return current;
}

AppState* AppStateForeign::create(QQmlEngine*, QJSEngine*) {
    Q_ASSERT_X(current, "AppState", "the shell sets the state before any screen loads");
    // The shell owns it; QML must never delete it.
    QJSEngine::setObjectOwnership(current, QJSEngine::CppOwnership);
    return current;
}

} // namespace kv

namespace kv {

void UpdaterForeign::setInstance(Updater* updater) {
    currentUpdater = updater;
}

Updater* UpdaterForeign::create(QQmlEngine*, QJSEngine*) {
    if (!currentUpdater) // nothing to check against
        currentUpdater = new Updater(nullptr, nullptr, QUrl(), AppStateForeign::instance());
    QJSEngine::setObjectOwnership(currentUpdater, QJSEngine::CppOwnership);
    return currentUpdater;
}

} // namespace kv
