#pragma once

#include <QDateTime>
#include <QString>
#include <QStringView>

#include <optional>

namespace kv {

// Reads the service's ISO 8601 instants: "2024-05-01T10:20:30.123Z",
// "2024-05-01T10:20:30+02:00", and fractions of any other length, which are
// cut or padded to milliseconds. Date-only texts and texts without a zone fail.
std::optional<QDateTime> parseISO8601Permissive(QStringView text);

// "yyyy-MM-dd" read as midnight UTC of that day.
std::optional<QDateTime> parseDay(QStringView text);

// UTC with milliseconds: "2024-05-01T10:20:30.123Z".
QString formatInstant(const QDateTime& instant);

} // namespace kv
