#include "ReadOnlyTextKeys.h"

#include <QKeyEvent>

namespace kv {

ReadOnlyTextKeys::ReadOnlyTextKeys(QObject* parent) : QObject(parent) {}

void ReadOnlyTextKeys::setTarget(QObject* target) {
    if (m_target == target)
        return;
    if (m_target)
        m_target->removeEventFilter(this);
    m_target = target;
    if (m_target)
        m_target->installEventFilter(this);
    emit targetChanged();
}

bool ReadOnlyTextKeys::keepsKey(const QKeyEvent& event) {
    return event.matches(QKeySequence::Copy) || event.matches(QKeySequence::SelectAll);
}

bool ReadOnlyTextKeys::eventFilter(QObject* watched, QEvent* event) {
    if (watched != m_target || event->type() != QEvent::ShortcutOverride)
        return false;
    event->setAccepted(keepsKey(*static_cast<QKeyEvent*>(event)));
    return true;
}

} // namespace kv
