#pragma once

// How much of a message a bubble lays out. Text layout grows with the length
// of the text and runs on the GUI thread: a message of a megabyte laid out
// whole holds the window for seconds. A bubble shows the beginning; the whole
// message stays one click away on the clipboard.

#include <QString>

namespace kv::bubble {

// About ten pages of text: longer than any chat message a person writes.
constexpr qsizetype kShownCharacters = 20'000;

// The message up to the limit; a longer one is cut between characters and ends with "…".
QString shownPart(const QString& text);
// "Shortened — 1,048,576 characters in all" for a cut message, else empty.
QString shortenedNote(const QString& text);

} // namespace kv::bubble
