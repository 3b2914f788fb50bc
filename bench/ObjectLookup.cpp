#include "ObjectLookup.h"

#include <QQuickItem>

namespace kv {

QObject* findObjectByName(QQuickItem* root, const QString& name) {
    if (root->objectName() == name)
        return root;
    for (QObject* child : root->children()) {
        if (!qobject_cast<QQuickItem*>(child) && child->objectName() == name)
            return child;
    }
    for (QQuickItem* child : root->childItems()) {
        if (QObject* found = findObjectByName(child, name))
            return found;
    }
    return nullptr;
}

} // namespace kv
