#pragma once

// The process-wide objects the screens bind to. The one AppState, as QML
// names it (`AppState`) and as the screens' view-models reach it. The core type stays free of
// QtQml; this wrapper declares it to the QML module.

#include "Updater.h"
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

// The app-wide notice line (`AppState.notices`), typed so the screens' bindings are checked.
struct NoticesForeign {
    Q_GADGET
    QML_FOREIGN(kv::Notices)
    QML_ANONYMOUS
};

// The software updater, as QML names it (`Updater`): the shell's, or one that
// never checks where there is none (tests, the settings inside the main window).
struct UpdaterForeign {
    Q_GADGET
    QML_FOREIGN(kv::Updater)
    QML_NAMED_ELEMENT(Updater)
    QML_SINGLETON

public:
    static void setInstance(Updater* updater);
    static Updater* create(QQmlEngine* engine, QJSEngine* js);
};

} // namespace kv
