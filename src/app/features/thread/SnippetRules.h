#pragma once

// The composer's text rules: which snippets a "/" command matches, how a
// chosen snippet goes into the text, and what a send takes from it.

#include "records/Records.h"

#include <QString>

namespace kv::snippets {

// The snippets a "/" command at the start of `draft` matches, in their order;
// none when the text does not begin with "/".
QList<Snippet> matching(const QString& draft, const QList<Snippet>& snippets);
// `draft` with `snippet` put in: in place of a "/" command, or after the text.
QString insert(const QString& draft, const Snippet& snippet);
// "1 match", "3 matches".
QString matchCount(qsizetype count);
// The text a send takes: trimmed of white space and line breaks at both ends.
QString sendable(const QString& draft);
// `draft` without a leading "/" command (Escape): what followed it, or nothing.
QString withoutCommand(const QString& draft);
// The snippet menu's entry: emoji, title, two spaces, "/shortcut".
QString menuEntry(const Snippet& snippet);

// What the editor stores: shortcut, title and body trimmed of white space and
// line breaks at both ends; an empty emoji becomes "💬" (the emoji is not trimmed).
struct Fields {
    QString shortcut;
    QString title;
    QString body;
    QString emoji;
    bool operator==(const Fields&) const = default;
};
Fields forSave(const Fields& typed);
// The editor saves only a body with something in it besides white space.
bool canSave(const QString& body);
// A snippet's title in the settings list: "(untitled)" when empty.
QString listTitle(const QString& title);
inline const QString kDefaultEmoji = QStringLiteral("💬");

// At most this many matches are listed; the header counts them all.
inline constexpr qsizetype kPickerRows = 6;

} // namespace kv::snippets
