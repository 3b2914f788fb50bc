#pragma once

#include "ApiError.h"

#include <QString>

#include <initializer_list>
#include <optional>
#include <variant>

namespace kv {

// An identifier as one percent-encoded path segment. Identifiers come from
// the service and from deep links; none may address another path, so empty
// text and "." or ".." (in any percent-encoded spelling) are refused.
std::optional<QString> pathSegment(const QString& identifier);

// "/api/v2/projects", then each identifier as a segment followed by the name
// at its position: projectPath({p, c}, {"conversations", "resolve"}) is
// "/api/v2/projects/<p>/conversations/<c>/resolve"; a null or missing name
// adds nothing. The identifier that cannot be a segment comes back as the error.
std::variant<QString, ApiError> projectPath(std::initializer_list<QString> identifiers,
                                            std::initializer_list<const char*> names);

} // namespace kv
