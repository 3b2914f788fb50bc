#pragma once

// Message text written in Markdown, made safe to show: rendered to rich text
// without raw HTML, and with every image turned into a link to it, so that
// showing a message never fetches anything (an image address in a chat
// would otherwise tell its owner the operator's address).

#include <QColor>
#include <QString>

namespace kv::markdown {

// Rich text for a text label, its links drawn in `linkColor`; the plain text,
// escaped, if the Markdown does not render.
QString toRichText(const QString& markdown, const QColor& linkColor);

} // namespace kv::markdown
