#include "DesktopServices.h"

#include <QJSEngine>
#include <QPointer>
#include <QQmlEngine>

namespace kv {

namespace {
QPointer<DesktopServices> g_instance;
}

DesktopServices::DesktopServices(Parts parts, QObject* parent) : QObject(parent), m_parts(parts) {}

void DesktopServices::setInstance(DesktopServices* services) {
    g_instance = services;
}

DesktopServices* DesktopServices::instance() {
    return g_instance;
}

DesktopServices* DesktopServices::create(QQmlEngine* engine, QJSEngine*) {
    // Nothing of the desktop given (a test of the screens alone): settings that need it stay off.
    if (!g_instance)
        g_instance = new DesktopServices(Parts{}, engine);
    QJSEngine::setObjectOwnership(g_instance, QJSEngine::CppOwnership);
    return g_instance;
}

} // namespace kv
