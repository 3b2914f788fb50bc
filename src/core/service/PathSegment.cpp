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
    // becomes a dot segment after any number of decodings. Each decoding that
    // changes the text shortens it, so this ends.
    QString decoded = identifier;
    for (;;) {
        const QString next = QUrl::fromPercentEncoding(decoded.toUtf8());
        if (next == decoded)
            break;
        if (next.isEmpty() || isDotSegment(next))
            return std::nullopt;
        decoded = next;
    }
    return QString::fromLatin1(QUrl::toPercentEncoding(identifier));
}

std::variant<QString, ApiError> projectPath(std::initializer_list<QString> identifiers,
                                            std::initializer_list<const char*> names) {
    QString path = QStringLiteral("/api/v2/projects");
    auto name = names.begin();
    for (const QString& id : identifiers) {
        const auto segment = pathSegment(id);
        if (!segment)
            return ApiError::badIdentifier(id);
        path += u'/' + *segment;
        if (name != names.end() && *name)
            path += u'/' + QLatin1StringView(*name);
        if (name != names.end())
            ++name;
    }
    return path;
}

} // namespace kv
