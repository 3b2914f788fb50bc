#pragma once

// How people are named on the screens: initials for avatars and the names
// shown when the service gives none.

#include <QString>

#include <optional>

namespace kv::people {

// First user-perceived characters of the first two space-separated pieces,
// upper-cased; empty for an empty or all-space name.
QString initials(const QString& name);
// The first `count` user-perceived characters of `text`: an emoji with its
// modifiers or a letter outside the basic plane is never split.
QString leadingCharacters(const QString& text, int count);
// A visitor's initials: "?" when the visitor has no name.
QString visitorInitials(const std::optional<QString>& visitorName);
// The name of a listed or open conversation's visitor: "Anonymous visitor" when none.
QString visitorName(const std::optional<QString>& visitorName);

} // namespace kv::people
