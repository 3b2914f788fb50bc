#pragma once

// How the screens match what the operator types against names and texts:
// case and accents do not count ("jose" finds "José", "STRASSE" finds
// "straße" only as far as case folding goes).

#include <QString>

namespace kv {

// The text as searches compare it: case-folded, accents dropped.
QString foldForSearch(const QString& text);

} // namespace kv
