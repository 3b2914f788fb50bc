#include "ReadingOrder.h"

#include <algorithm>

namespace kv {

ReadingOrder::ReadingOrder(QObject* parent) : QObject(parent) {}

QQuickItem* ReadingOrder::view() const {
    return m_view;
}

void ReadingOrder::setView(QQuickItem* view) {
    if (m_view == view)
        return;
    if (m_content)
        disconnect(m_content, nullptr, this, nullptr);
    m_view = view;
    m_content = view ? view->property("contentItem").value<QQuickItem*>() : nullptr;
    if (m_content) {
        // Rows are placed after they are made: arrange once the view has laid them out.
        connect(m_content, &QQuickItem::childrenChanged, this, &ReadingOrder::schedule);
        schedule();
    }
    emit viewChanged();
}

void ReadingOrder::schedule() {
    if (std::exchange(m_scheduled, true))
        return;
    QMetaObject::invokeMethod(
        this,
        [this] {
            m_scheduled = false;
            if (m_content)
                arrange(m_content);
        },
        Qt::QueuedConnection);
}

void ReadingOrder::arrange(QQuickItem* content) {
    const QList<QQuickItem*> now = content->childItems();
    QList<QQuickItem*> wanted = now;
    std::stable_sort(wanted.begin(), wanted.end(),
                     [](const QQuickItem* a, const QQuickItem* b) { return a->y() < b->y(); });
    if (wanted == now)
        return;
    for (qsizetype i = 1; i < wanted.size(); ++i) {
        const QList<QQuickItem*> children = content->childItems();
        if (children.indexOf(wanted[i]) != children.indexOf(wanted[i - 1]) + 1)
            wanted[i]->stackAfter(wanted[i - 1]);
    }
}

} // namespace kv
