#include "PathSegment.h"

#include <QUrl>

namespace kv {

namespace {

bool isDotSegment(const QString& text) {
    return text == u"." || text == u"..";
}

} // namespace

std::optional<QString> pathSegment(const QString& identifier) {
    if (identifier.isEmpty() || isDotSegment(identifier))
        return std::nullopt;
    // A server or proxy may decode more than once: refuse anything that
    // becomes a dot segment after any number of decodings.
    QString decoded = identifier;
    for (int round = 0; round < 8; ++round) {
        const QString next = QUrl::fromPercentEncoding(decoded.toUtf8());
        if (next == decoded)
            break;
        if (next.isEmpty() || isDotSegment(next))
            return std::nullopt;
        decoded = next;
    }
    return QString::fromLatin1(QUrl::toPercentEncoding(identifier));
}

} // namespace kv
