#pragma once

// The preferences file. QSettings' usual Linux file writes every value as
// text, so a Bool `false` comes back after a restart as the text "false" —
// and the rules that treat anything but a Bool as "on" would turn the
// operator's switched-off notifications and launch-at-login back on. This
// format keeps JSON's own types: Bools stay Bools, text stays text.

#include <QSettings>

#include <memory>

namespace kv {

// Registered once; files end in ".json".
QSettings::Format typedPreferencesFormat();

// The user's preferences (under $XDG_CONFIG_HOME), or a file of one's own.
std::unique_ptr<QSettings> openPreferences();
std::unique_ptr<QSettings> openPreferences(const QString& path);

} // namespace kv
