#pragma once

namespace kv {

class AppState;
class Updater;

// Makes `state` the screens' `AppState`, `updater` their `Updater` (a disabled
// one when none), and the enumerations reachable as `Kv`.
void registerQmlTypes(AppState* state, Updater* updater = nullptr);

} // namespace kv
