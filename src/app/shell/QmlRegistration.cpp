#include "QmlRegistration.h"

#include "AppStateForeign.h"
#include "SystemAppearance.h"
#include "Updater.h"
#include "state/AppState.h"

#include <QQmlEngine>

namespace kv {

void registerQmlTypes(AppState* state, Updater* updater) {
    AppStateForeign::setInstance(state);
    // Lives with the state: both are made once per process and kept to its end.
    qmlRegisterSingletonInstance("Kestovar", 1, 0, "SystemAppearance", new SystemAppearance(state));
    if (!updater)
        updater = new Updater(nullptr, nullptr, QUrl(), state); // nothing to check against
    qmlRegisterSingletonInstance("Kestovar", 1, 0, "Updater", updater);
    qmlRegisterUncreatableMetaObject(kv::staticMetaObject, "Kestovar", 1, 0, "Kv",
                                     QStringLiteral("enumerations only"));
}

} // namespace kv
