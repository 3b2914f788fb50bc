#pragma once

// The stats screen's text rules.

#include <QDateTime>
#include <QList>
#include <QPointF>
#include <QSizeF>
#include <QString>

#include <optional>

namespace kv::stats {

// The change on the conversations card: none when there is nothing to compare
// with, "—" when flat, else "↑ 12%" or "↓ 5%" (whole percent, toward zero).
std::optional<QString> deltaText(qint64 current, qint64 previous);
// "42%" for 0.429.
QString resolutionRate(double rate);
// How many of the five stars are filled: star i is filled while i < average.
int filledStars(std::optional<double> average);
// "4.2"; "0.0" with no rating.
QString averageText(std::optional<double> average);
// An x-axis label every this many days: 1 under 8 days, else a eighth of them.
int labelStride(qsizetype buckets);
// The top of the y-axis over counts up to `highest`: the next 1, 2, 4, 5 or 8
// times a power of ten that four gridlines divide into whole numbers
// (4, 8, 20, 40, 80, 100, 200, …).
int axisTop(qint64 highest);
// "Dec 3": the day the bucket counts, as the service dates it (UTC).
QString dayLabel(const QDateTime& day);
// A smooth line through one value per day, the days spread evenly over
// `size`'s width and `top` at its top edge (y grows downwards), as a polyline
// of `samples` points per day. Monotone between days: it never swings below
// zero or beyond its neighbours, as a count cannot.
QList<QPointF> smoothCurve(const QList<double>& values, double top, QSizeF size, int samples = 8);
// The same line closed along the bottom edge: the area under it.
QList<QPointF> areaUnder(const QList<QPointF>& curve, QSizeF size);
// What a figure reads before any arrived.
inline const QString kNoFigure = QStringLiteral("—");
// "Couldn’t load stats: <reason>", over the figures.
QString notLoaded(const QString& reason);
// "Couldn’t load stats", "Loading…", or "Last 30 days".
QString headerSubtitle(bool failed, bool loading, qint64 days);

} // namespace kv::stats
