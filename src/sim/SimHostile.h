#pragma once

// An account whose every text is hostile: HTML with images, Markdown images,
// script and file links, direction overrides, zero-width characters, a
// 100 000-character word, NUL and an unpaired surrogate. What a console must
// show literally, without fetching, formatting or crashing on any of it.

#include <QString>
#include <QStringList>

namespace kv::sim {

class SimData;

// The hostile texts, their images pointing under `beacon` (an http origin
// that counts what reaches it).
QStringList hostileTexts(const QString& beacon);
// A word of 100 000 letters.
QString endlessWord();
// Fills every text field of `data` with hostile texts, in turn.
void makeHostile(SimData& data, const QString& beacon);

} // namespace kv::sim
