#include "LinkPolicy.h"

namespace kv::links {

bool isWebPage(const QUrl& url) {
    const QString scheme = url.scheme().toLower();
    return url.isValid() && (scheme == u"http" || scheme == u"https") && !url.host().isEmpty();
}

bool isSafeMessageLink(const QUrl& url) {
    return isWebPage(url) || (url.isValid() && url.scheme().toLower() == u"mailto");
}

} // namespace kv::links
