#pragma once

namespace kv {

class AppState;

// Makes `state` the screens' `AppState` and its enumerations reachable as `Kv`.
void registerQmlTypes(AppState* state);

} // namespace kv
