#pragma once

// The one icon map: the symbol names the screens use → the SVG drawing shown
// for each. The drawings are Kestovar's own (see LICENSE beside this file).

#include <QByteArray>
#include <QColor>
#include <QImage>
#include <QString>

namespace kv::icons {

bool has(QStringView name);

// The drawing of `name` as an SVG document in `color` made opaque; empty for
// an unknown name.
QByteArray svg(QStringView name, const QColor& color);

// `name` in `color` (its alpha the drawing's opacity), rendered into a square
// of `pixels`; null for an unknown name. Rendered once per name, colour and size, and shared after
// that. Safe from any thread.
QImage rendered(const QString& name, const QColor& color, int pixels);

} // namespace kv::icons
