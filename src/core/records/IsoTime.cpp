#include "IsoTime.h"

namespace kv {

namespace {

// Reads exactly `count` ASCII digits at `pos`.
bool readDigits(QStringView s, qsizetype pos, int count, int& out) {
    if (pos + count > s.size())
        return false;
    int value = 0;
    for (int i = 0; i < count; ++i) {
        const char16_t c = s[pos + i].unicode();
        if (c < u'0' || c > u'9')
            return false;
        value = value * 10 + (c - u'0');
    }
    out = value;
    return true;
}

bool expect(QStringView s, qsizetype pos, char16_t c) {
    return pos < s.size() && s[pos].unicode() == c;
}

// The strict internet date-time form: date "T" time, optionally "." and
// exactly three fraction digits, then "Z" or a "+hh:mm"/"-hh:mm" offset.
std::optional<QDateTime> parseStrict(QStringView s, bool withFraction) {
    int year, month, day, hour, minute, second, millis = 0;
    if (!readDigits(s, 0, 4, year) || !expect(s, 4, u'-') || !readDigits(s, 5, 2, month) ||
        !expect(s, 7, u'-') || !readDigits(s, 8, 2, day) || !expect(s, 10, u'T') ||
        !readDigits(s, 11, 2, hour) || !expect(s, 13, u':') || !readDigits(s, 14, 2, minute) ||
        !expect(s, 16, u':') || !readDigits(s, 17, 2, second))
        return std::nullopt;
    qsizetype pos = 19;
    if (withFraction) {
        if (!expect(s, pos, u'.') || !readDigits(s, pos + 1, 3, millis))
            return std::nullopt;
        pos += 4;
    }
    int offsetSeconds = 0;
    if (expect(s, pos, u'Z')) {
        pos += 1;
    } else if (expect(s, pos, u'+') || expect(s, pos, u'-')) {
        const int sign = s[pos] == u'-' ? -1 : 1;
        int oh, om;
        if (!readDigits(s, pos + 1, 2, oh) || !expect(s, pos + 3, u':') ||
            !readDigits(s, pos + 4, 2, om) || oh > 23 || om > 59)
            return std::nullopt;
        offsetSeconds = sign * (oh * 3600 + om * 60);
        pos += 6;
    } else {
        return std::nullopt;
    }
    if (pos != s.size())
        return std::nullopt;

    const QDate date(year, month, day);
    const QTime time(hour, minute, second, millis);
    if (!date.isValid() || !time.isValid())
        return std::nullopt;
    const QDateTime instant = QDateTime(date, time, Qt::UTC).addSecs(-offsetSeconds);
    // An offset can carry the first or last day out of the four-digit years;
    // such an instant could not be written back in this form, so it is refused.
    const int utcYear = instant.date().year();
    if (utcYear < 1 || utcYear > 9999)
        return std::nullopt;
    return instant;
}

} // namespace

std::optional<QDateTime> parseISO8601Permissive(QStringView text) {
    if (auto withFraction = parseStrict(text, true))
        return withFraction;
    if (auto whole = parseStrict(text, false))
        return whole;

    // Fractions of other lengths: normalise to exactly three digits and retry.
    const qsizetype dot = text.indexOf(u'.');
    if (dot < 0)
        return std::nullopt;
    qsizetype end = dot + 1;
    while (end < text.size() && text[end] >= u'0' && text[end] <= u'9')
        ++end;
    const qsizetype digits = end - dot - 1;
    if (digits == 0 || digits == 3)
        return std::nullopt;
    QString fraction = text.mid(dot + 1, std::min<qsizetype>(digits, 3)).toString();
    while (fraction.size() < 3)
        fraction.append(u'0');
    const QString rebuilt = text.first(dot + 1).toString() + fraction + text.mid(end).toString();
    return parseStrict(rebuilt, true);
}

std::optional<QDateTime> parseDay(QStringView text) {
    int year, month, day;
    if (text.size() != 10 || !readDigits(text, 0, 4, year) || !expect(text, 4, u'-') ||
        !readDigits(text, 5, 2, month) || !expect(text, 7, u'-') || !readDigits(text, 8, 2, day))
        return std::nullopt;
    const QDate date(year, month, day);
    if (!date.isValid())
        return std::nullopt;
    return QDateTime(date, QTime(0, 0), Qt::UTC);
}

QString formatInstant(const QDateTime& instant) {
    return instant.toUTC().toString(QStringLiteral("yyyy-MM-dd'T'HH:mm:ss.zzz'Z'"));
}

} // namespace kv
