#pragma once

class QObject;
class QQuickWindow;

namespace kv {

class AppState;

// For the start-up benchmark: prints the time since process start, peak RSS
// and PSS at the first frame drawn once the agents are loaded, then quits.
// The connection lives as long as `owner`.
void reportFirstSignedInFrame(AppState& state, QQuickWindow* window, QObject* owner);

} // namespace kv
