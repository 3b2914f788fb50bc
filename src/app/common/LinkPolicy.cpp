#include "LinkPolicy.h"

namespace kv::links {

bool isWebPage(const QUrl& url) {
    const QString scheme = url.scheme().toLower();
    return url.isValid() && (scheme == u"http" || scheme == u"https") && !url.host().isEmpty();
}

bool isSafeMessageLink(const QUrl& url) {
    return isWebPage(url) || (url.isValid() && url.scheme().toLower() == u"mailto");
}

QString withoutScheme(const QString& website) {
    QString text = website;
    text.remove(QStringLiteral("https://"));
    text.remove(QStringLiteral("http://"));
    return text;
}

} // namespace kv::links
