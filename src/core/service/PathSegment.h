#pragma once

#include <QString>

#include <optional>

namespace kv {

// An identifier as one percent-encoded path segment. Identifiers come from
// the service and from deep links; none may address another path, so empty
// text and "." or ".." (in any percent-encoded spelling) are refused.
std::optional<QString> pathSegment(const QString& identifier);

} // namespace kv
