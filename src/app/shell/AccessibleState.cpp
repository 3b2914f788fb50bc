#include "AccessibleState.h"

#include <QAccessible>
#include <QQuickItem>
#include <QtQuick/private/qaccessiblequickitem_p.h>
#include <QtQuick/private/qquickitem_p.h>

namespace kv {

namespace {

// Qt's own interface for an item, with its enabled state told.
class EnabledAwareItem final : public QAccessibleQuickItem {
public:
    using QAccessibleQuickItem::QAccessibleQuickItem;

    QAccessible::State state() const override {
        QAccessible::State state = QAccessibleQuickItem::state();
        if (!item()->isEnabled()) {
            state.disabled = true;
            state.focusable = false;
        }
        return state;
    }
};

// Asked with the most derived class name first, before Qt's own factory is
// asked with "QQuickItem": it answers for every item Qt would answer for.
QAccessibleInterface* enabledAwareFactory(const QString&, QObject* object) {
    if (!object || !object->isQuickItemType() || object->inherits("QQuickPage"))
        return nullptr; // pages keep Qt's own interface
    auto* item = static_cast<QQuickItem*>(object);
    if (!QQuickItemPrivate::get(item)->isAccessible)
        return nullptr;
    return new EnabledAwareItem(item);
}

} // namespace

void installAccessibleState() {
    static const bool installed = [] {
        QAccessible::installFactory(enabledAwareFactory);
        return true;
    }();
    Q_UNUSED(installed);
}

} // namespace kv
