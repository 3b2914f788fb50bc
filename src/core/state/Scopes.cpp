#include "Scopes.h"

#include <QList>

namespace kv {

QString flagEmoji(const std::optional<QString>& countryCode) {
    QString globe = QStringLiteral("\U0001F310");
    if (!countryCode || countryCode->size() != 2)
        return globe;
    QString flag;
    for (const char32_t c : countryCode->toUpper().toUcs4()) {
        const char32_t symbol = c + 127397;
        // Only scalars the regional-indicator shift maps into valid code points.
        if (symbol > 0x10FFFF || (symbol >= 0xD800 && symbol <= 0xDFFF))
            continue;
        flag += QString::fromUcs4(&symbol, 1);
    }
    return flag.isEmpty() ? globe : flag;
}

} // namespace kv
