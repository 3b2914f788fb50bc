#pragma once

// Times as the lists and bubbles write them, in the desktop's time zone.

#include <QDateTime>
#include <QString>

namespace kv::times {

// "HH:mm" within the last day (or in the future), else "MMM d · HH:mm".
QString timeAndDay(const QDateTime& instant, const QDateTime& now);
// "now", "5m", "3h", "2d", else "MMM d".
QString relativeShort(const QDateTime& instant, const QDateTime& now);

} // namespace kv::times
