#include "TimeText.h"

#include <QLocale>

namespace kv::times {

QString timeAndDay(const QDateTime& instant, const QDateTime& now) {
    const QDateTime local = instant.toLocalTime();
    if (instant.secsTo(now) < 86'400)
        return QLocale().toString(local, QStringLiteral("HH:mm"));
    return QLocale().toString(local, QStringLiteral("MMM d · HH:mm"));
}

QString relativeShort(const QDateTime& instant, const QDateTime& now) {
    const qint64 a = instant.secsTo(now);
    if (a < 60)
        return QStringLiteral("now");
    if (a < 3'600)
        return QString::number(a / 60) + u'm';
    if (a < 86'400)
        return QString::number(a / 3'600) + u'h';
    if (a < 604'800)
        return QString::number(a / 86'400) + u'd';
    return QLocale().toString(instant.toLocalTime(), QStringLiteral("MMM d"));
}

} // namespace kv::times
