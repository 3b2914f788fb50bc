#include "UiSupport.h"

#include "Enums.h"
#include "LinkPolicy.h"
#include "PeopleText.h"

#include <QGuiApplication>
#include <QLocale>
#include <QScreen>

namespace kv {

std::optional<QColor> UiSupport::parseHexColor(const QString& text) {
    QStringView rest = QStringView(text);
    while (!rest.isEmpty() && (rest.front() == u' ' || rest.front() == u'\t'))
        rest = rest.sliced(1);
    while (!rest.isEmpty() && (rest.back() == u' ' || rest.back() == u'\t'))
        rest.chop(1);
    if (rest.startsWith(u'#'))
        rest = rest.sliced(1);
    if (rest.size() != 6)
        return std::nullopt;
    uint value = 0;
    for (const QChar c : rest) {
        const char16_t u = c.unicode();
        int digit;
        if (u >= u'0' && u <= u'9')
            digit = u - u'0';
        else if (u >= u'a' && u <= u'f')
            digit = 10 + (u - u'a');
        else if (u >= u'A' && u <= u'F')
            digit = 10 + (u - u'A');
        else
            return std::nullopt;
        value = value * 16 + uint(digit);
    }
    return QColor::fromRgb((value >> 16) & 0xFF, (value >> 8) & 0xFF, value & 0xFF);
}

QVariant UiSupport::color(const QVariant& hex) const {
    if (!hex.isValid() || hex.isNull())
        return {};
    const auto parsed = parseHexColor(hex.toString());
    return parsed ? QVariant(*parsed) : QVariant();
}

QString UiSupport::timeAndDay(const QDateTime& instant, const QDateTime& now) {
    const QDateTime local = instant.toLocalTime();
    if (instant.secsTo(now) < 86'400)
        return QLocale().toString(local, QStringLiteral("HH:mm"));
    return QLocale().toString(local, QStringLiteral("MMM d · HH:mm"));
}

QString UiSupport::relativeShort(const QDateTime& instant, const QDateTime& now) {
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

QString UiSupport::timeAndDay(const QDateTime& instant) const {
    return timeAndDay(instant, QDateTime::currentDateTimeUtc());
}

QString UiSupport::relativeShort(const QDateTime& instant) const {
    return relativeShort(instant, QDateTime::currentDateTimeUtc());
}

QString UiSupport::unreadLine(qint64 total) {
    return total > 0 ? QStringLiteral("%1 unread").arg(total)
                     : QStringLiteral("No unread conversations");
}

double UiSupport::fontScale(int fontSizePreference) {
    switch (FontSizePreference(fontSizePreference)) {
    case FontSizePreference::small:
        return 1.0;
    case FontSizePreference::normal:
        break;
    case FontSizePreference::large:
        return 1.3;
    case FontSizePreference::extraLarge:
        return 1.48;
    }
    return 1.15;
}

double UiSupport::pointsPerPixel() {
    // Text items turn points into pixels at the screen's whole logical dots per inch.
    const QScreen* screen = QGuiApplication::primaryScreen();
    const int dpi = screen ? qRound(screen->logicalDotsPerInchY()) : 0;
    return dpi > 0 ? 72.0 / dpi : 0.75;
}

QString UiSupport::agentInitials(const QString& projectName) {
    return people::leadingCharacters(projectName, 2).toUpper();
}

QUrl UiSupport::logoSource(const QUrl& logoURL) {
    return links::isWebPage(logoURL) ? logoURL : QUrl();
}

} // namespace kv
