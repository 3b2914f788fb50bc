#pragma once

namespace kv {

class AppState;
class Updater;

// Makes `state` the screens' `AppState` and `updater` their `Updater` (a
// disabled one when none). The types themselves are declared to QML in their
// headers; this only names the process's instances, before any screen loads.
void registerQmlTypes(AppState* state, Updater* updater = nullptr);

} // namespace kv
