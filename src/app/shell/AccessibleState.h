#pragma once

// What assistive technology reads of the screens' items, mended where Qt 6.4
// falls short: a disabled control reports itself disabled. (Qt 6.4 reports
// every item as enabled, so a screen reader announced "Create" as usable
// while the snippet editor refused it.)

namespace kv {

// Installs the mend for every Qt Quick item made afterwards. Idempotent.
void installAccessibleState();

} // namespace kv
