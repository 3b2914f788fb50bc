#pragma once

#include <QString>
#include <QUrl>

#include <optional>

namespace kv {

// Where a "kestovar://project/…" link points: an agent, and perhaps one of
// its conversations. The identifiers are as the link spelled them (decoded);
// whether they can be sent to the service is the request paths' business.
struct ProjectLink {
    QString projectID;
    std::optional<QString> conversationID;
    bool operator==(const ProjectLink&) const = default;
};

// "kestovar://project/<agent>" and "kestovar://project/<agent>/chat/<conversation>";
// none for any other URL (the sign-in callback among them).
std::optional<ProjectLink> projectLinkFrom(const QUrl& url);

} // namespace kv
