#pragma once

// The one AppState of the process, as QML names it (`AppState`) and as the
// screens' view-models reach it. The core type stays free of QtQml; this
// wrapper declares it to the QML module.

#include "state/AppState.h"

#include <QtQml/qqml.h>

class QJSEngine;
class QQmlEngine;

namespace kv {

struct AppStateForeign {
    Q_GADGET
    QML_FOREIGN(kv::AppState)
    QML_NAMED_ELEMENT(AppState)
    QML_SINGLETON

public:
    // Set once by the shell (or a test) before the first screen loads.
    static void setInstance(AppState* state);
    static AppState* instance();
    static AppState* create(QQmlEngine* engine, QJSEngine* js);
};

} // namespace kv
