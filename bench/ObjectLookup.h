#pragma once

// Finding a screen's parts by object name, as the benchmarks drive the window.

#include <QString>

class QObject;
class QQuickItem;

namespace kv {

// `root`, an item below it (delegates included) or a non-visual object of one
// of them with that object name; none when there is no such object.
QObject* findObjectByName(QQuickItem* root, const QString& name);

} // namespace kv
