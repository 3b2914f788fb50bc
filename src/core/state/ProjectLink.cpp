#include "ProjectLink.h"

#include <QStringList>

namespace kv {

std::optional<ProjectLink> projectLinkFrom(const QUrl& url) {
    if (url.scheme().toLower() != u"kestovar" || url.host().toLower() != u"project")
        return std::nullopt;
    // "/p1/chat/c1" → ["/", "p1", "chat", "c1"], as path components count the root.
    QStringList components{QStringLiteral("/")};
    components += url.path(QUrl::FullyDecoded).split(u'/', Qt::SkipEmptyParts);
    if (components.size() < 2)
        return std::nullopt;
    ProjectLink link{components[1], std::nullopt};
    if (components.size() >= 4 && components[2] == u"chat")
        link.conversationID = components[3];
    return link;
}

} // namespace kv
