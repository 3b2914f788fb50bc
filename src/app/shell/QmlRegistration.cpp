#include "QmlRegistration.h"

#include "state/AppState.h"

#include <QQmlEngine>

namespace kv {

void registerQmlTypes(AppState* state) {
    qmlRegisterSingletonInstance("Kestovar", 1, 0, "AppState", state);
    qmlRegisterUncreatableMetaObject(kv::staticMetaObject, "Kestovar", 1, 0, "Kv",
                                     QStringLiteral("enumerations only"));
}

} // namespace kv
