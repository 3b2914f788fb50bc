#include "StatsRules.h"

#include <QLocale>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <limits>

namespace kv::stats {

namespace {

// Toward zero, but a product like 0.29 × 100 (28.999…) counts as the 29 it is.
qint64 wholePercent(double value) {
    return qint64(std::trunc(value + std::copysign(1e-9, value)));
}

} // namespace

std::optional<QString> deltaText(qint64 current, qint64 previous) {
    if (previous < 1)
        return std::nullopt;
    const qint64 percent = wholePercent(double(current - previous) / double(previous) * 100.0);
    if (percent == 0)
        return QStringLiteral("—");
    return (percent > 0 ? QStringLiteral("↑ ") : QStringLiteral("↓ ")) +
           QString::number(std::abs(percent)) + u'%';
}

QString resolutionRate(double rate) {
    return QString::number(wholePercent(rate * 100.0)) + u'%';
}

int filledStars(std::optional<double> average) {
    const double avg = average.value_or(0);
    int filled = 0;
    for (int i = 0; i < 5; ++i) {
        if (i < avg)
            ++filled;
    }
    return filled;
}

QString averageText(std::optional<double> average) {
    // C's rounding (an exact half goes to even), as the format promises.
    char text[64];
    std::snprintf(text, sizeof text, "%.1f", average.value_or(0));
    return QString::fromLatin1(text);
}

int labelStride(qsizetype buckets) {
    return buckets < 8 ? 1 : int(buckets / 8);
}

int axisTop(qint64 highest) {
    const qint64 wanted = std::max<qint64>(highest, 1);
    for (qint64 magnitude = 1; magnitude <= std::numeric_limits<qint64>::max() / 100;
         magnitude *= 10) {
        for (const qint64 step : {1, 2, 4, 5, 8}) {
            const qint64 candidate = step * magnitude;
            if (candidate >= wanted && candidate % 4 == 0)
                return int(std::min<qint64>(candidate, std::numeric_limits<int>::max()));
        }
    }
    return std::numeric_limits<int>::max();
}

QString dayLabel(const QDateTime& day) {
    return QLocale::c().toString(day.toUTC().date(), QStringLiteral("MMM d"));
}

QString headerSubtitle(bool failed, bool loading, qint64 days) {
    if (failed)
        return QStringLiteral("Couldn’t load stats");
    if (loading)
        return QStringLiteral("Loading…");
    return QStringLiteral("Last %1 days").arg(days);
}

} // namespace kv::stats
