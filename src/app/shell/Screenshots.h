#pragma once

// Renders the screens to PNG files for review: the sign-in screen, then each
// scene of the console in light and dark, at normal and extra-large text,
// against the demo's embedded service.

#include <QString>

class QQuickWindow;

namespace kv {

class AppState;
class DemoService;

// Runs the scenes, writes DIR/<scene>-<light|dark>-<normal|large>.png, then quits.
void takeScreenshots(AppState& state, DemoService& service, QQuickWindow* window, QString dir);

} // namespace kv
