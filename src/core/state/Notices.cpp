#include "Notices.h"

#include "Timing.h"

namespace kv {

Notices::Notices(QObject* parent) : QObject(parent) {
    m_timer.setSingleShot(true);
    connect(&m_timer, &QTimer::timeout, this, &Notices::dismiss);
}

void Notices::post(const QString& text) {
    m_timer.start(Timing::current().noticeDuration);
    if (m_text == text)
        return;
    m_text = text;
    emit changed();
}

void Notices::dismiss() {
    m_timer.stop();
    if (m_text.isEmpty())
        return;
    m_text.clear();
    emit changed();
}

} // namespace kv
