#pragma once

// A message's translation controls: the menu of target languages and the
// labels of the translate and show-original buttons.

#include "records/Records.h"

#include <QString>

#include <optional>

namespace kv::translation {

struct Entry {
    QString label;
    // The engine code sent as the override; none for the default entry and
    // for "Match system language", which both leave the choice to the preference.
    std::optional<QString> code;
    bool operator==(const Entry&) const = default;
};

// "Default (…)" first, then every language in order.
QList<Entry> menuEntries(const QString& storedPreference);
// The default's label: "Match system language", or the stored language's name.
QString defaultLabel(const QString& storedPreference);

// Whether a message offers translation at all.
bool translatable(const Message& message);
// "Translate", or "Translate to…" once it has a translation.
QString menuTitle(const Message& message);
// "Show original" while the translation shows; otherwise "Translated from
// Danish", or "Show translation" when the language is not known.
QString toggleLabel(const Message& message, bool showingTranslation);

} // namespace kv::translation
