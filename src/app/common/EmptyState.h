#pragma once

// What a screen shows in place of a list that has no rows: a symbol, a
// title and a line of text.

#include <QString>

namespace kv {

struct EmptyState {
    QString symbol;
    QString title;
    QString text;
    bool operator==(const EmptyState&) const = default;
};

} // namespace kv
