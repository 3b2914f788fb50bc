#pragma once

// What the state's stores share: the scope key of state kept per scope (an
// agent's identifier, or "__all__" for every agent together), how many
// conversations a list asks the service for, and a country's flag.

#include <QString>

#include <optional>

namespace kv {

inline constexpr char kAllScope[] = "__all__";
inline constexpr qint64 kConversationLimit = 50;

// The scope of an agent, or of every agent when none is given.
inline QString scopeOf(const std::optional<QString>& projectID) {
    return projectID.value_or(QString::fromLatin1(kAllScope));
}

// A two-letter country code as its flag (each letter moved to its regional
// indicator); the globe for anything else.
QString flagEmoji(const std::optional<QString>& countryCode);

} // namespace kv
