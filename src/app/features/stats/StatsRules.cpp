#include "StatsRules.h"

#include "NumberText.h"

#include <QLocale>

#include <algorithm>
#include <cmath>
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
    return numbers::fixed(average.value_or(0), 1);
}

QList<QPointF> smoothCurve(const QList<double>& values, double top, QSizeF size, int samples) {
    const qsizetype n = values.size();
    if (n == 0 || top <= 0 || size.isEmpty())
        return {};
    const auto x = [&](double day) {
        return n == 1 ? size.width() / 2 : day * size.width() / double(n - 1);
    };
    const auto y = [&](double value) { return size.height() * (1.0 - value / top); };
    if (n == 1)
        return {QPointF(0, y(values[0])), QPointF(size.width(), y(values[0]))};

    // Monotone cubic Hermite slopes (Fritsch–Carlson): a day between a rise and
    // a fall, or on a flat stretch, is a turning point with a level tangent.
    QList<double> secant(n - 1);
    for (qsizetype i = 0; i + 1 < n; ++i)
        secant[i] = values[i + 1] - values[i];
    QList<double> slope(n);
    slope[0] = secant[0];
    slope[n - 1] = secant[n - 2];
    for (qsizetype i = 1; i + 1 < n; ++i)
        slope[i] = secant[i - 1] * secant[i] <= 0 ? 0 : (secant[i - 1] + secant[i]) / 2;
    for (qsizetype i = 0; i + 1 < n; ++i) {
        if (secant[i] == 0) {
            slope[i] = slope[i + 1] = 0;
            continue;
        }
        const double a = slope[i] / secant[i];
        const double b = slope[i + 1] / secant[i];
        const double length = std::hypot(a, b);
        if (length > 3) {
            slope[i] = 3 * a / length * secant[i];
            slope[i + 1] = 3 * b / length * secant[i];
        }
    }

    QList<QPointF> out;
    out.reserve((n - 1) * samples + 1);
    for (qsizetype i = 0; i + 1 < n; ++i) {
        for (int s = 0; s < samples; ++s) {
            const double t = double(s) / samples;
            const double t2 = t * t;
            const double t3 = t2 * t;
            const double value = (2 * t3 - 3 * t2 + 1) * values[i] + (t3 - 2 * t2 + t) * slope[i] +
                                 (-2 * t3 + 3 * t2) * values[i + 1] + (t3 - t2) * slope[i + 1];
            out.append(QPointF(x(double(i) + t), y(value)));
        }
    }
    out.append(QPointF(x(double(n - 1)), y(values[n - 1])));
    return out;
}

QList<QPointF> areaUnder(const QList<QPointF>& curve, QSizeF size) {
    if (curve.isEmpty())
        return {};
    QList<QPointF> out = curve;
    out.append(QPointF(curve.last().x(), size.height()));
    out.append(QPointF(curve.first().x(), size.height()));
    out.append(curve.first());
    return out;
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

QString notLoaded(const QString& reason) {
    return QStringLiteral("Couldn’t load stats: ") + reason;
}

QString headerSubtitle(bool failed, bool loading, qint64 days) {
    if (failed)
        return QStringLiteral("Couldn’t load stats");
    if (loading)
        return QStringLiteral("Loading…");
    return QStringLiteral("Last %1 days").arg(days);
}

} // namespace kv::stats
