#include "AppStateForeign.h"

#include <QJSEngine>
#include <QPointer>

namespace kv {

namespace {

QPointer<AppState> current;

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
