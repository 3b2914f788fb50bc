#include "QmlRegistration.h"

#include "AppStateForeign.h"

namespace kv {

void registerQmlTypes(AppState* state, Updater* updater) {
    AppStateForeign::setInstance(state);
    UpdaterForeign::setInstance(updater);
}

} // namespace kv
