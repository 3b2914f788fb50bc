#pragma once

// Numbers as the screens write them: always with a "." ("0.76", "4.2"),
// whatever the desktop's locale, and rounded as C's printf rounds.

#include <QString>

namespace kv::numbers {

// `value` with `decimals` digits after the point.
QString fixed(double value, int decimals);

} // namespace kv::numbers
