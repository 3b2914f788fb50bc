#include "ProjectLook.h"

#include "LinkPolicy.h"
#include "PeopleText.h"

namespace kv {

std::optional<QColor> ProjectLook::parseHexColor(const QString& text) {
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

QVariant ProjectLook::color(const QVariant& hex) const {
    if (!hex.isValid() || hex.isNull())
        return {};
    const auto parsed = parseHexColor(hex.toString());
    return parsed ? QVariant(*parsed) : QVariant();
}

QString ProjectLook::initials(const QString& projectName) {
    return people::leadingCharacters(projectName, 2).toUpper();
}

QUrl ProjectLook::logoSource(const QUrl& logoURL) {
    return links::isWebPage(logoURL) ? logoURL : QUrl();
}

} // namespace kv
