#include "NumberText.h"

#include <charconv>

namespace kv::numbers {

QString fixed(double value, int decimals) {
    // std::to_chars never reads the locale (printf does, once the
    // application has set it from the desktop's), and rounds as printf would.
    char text[64];
    const auto result =
        std::to_chars(text, text + sizeof text, value, std::chars_format::fixed, decimals);
    if (result.ec != std::errc())
        return QStringLiteral("—");
    return QString::fromLatin1(text, result.ptr - text);
}

} // namespace kv::numbers
