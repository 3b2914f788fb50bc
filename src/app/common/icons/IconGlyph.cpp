#include "IconGlyph.h"

#include "IconMap.h"

#include <QQuickWindow>
#include <QSGImageNode>

#include <cmath>

namespace kv {

IconGlyph::IconGlyph(QQuickItem* parent) : QQuickItem(parent) {
    setFlag(ItemHasContents);
}

void IconGlyph::setSymbol(const QString& symbol) {
    if (symbol == m_symbol)
        return;
    m_symbol = symbol;
    redraw();
    emit symbolChanged();
}

void IconGlyph::setColor(const QColor& color) {
    if (color == m_color)
        return;
    m_color = color;
    redraw();
    emit colorChanged();
}

void IconGlyph::redraw() {
    m_imageChanged = true;
    update();
}

int IconGlyph::renderedPixels(qreal side, qreal devicePixelRatio) {
    return int(std::lround(side * 2 * devicePixelRatio));
}

void IconGlyph::geometryChange(const QRectF& next, const QRectF& previous) {
    QQuickItem::geometryChange(next, previous);
    if (next.size() != previous.size())
        redraw();
}

void IconGlyph::itemChange(ItemChange change, const ItemChangeData& value) {
    QQuickItem::itemChange(change, value);
    if (change == ItemDevicePixelRatioHasChanged)
        redraw();
}

QSGNode* IconGlyph::updatePaintNode(QSGNode* old, UpdatePaintNodeData*) {
    auto* node = static_cast<QSGImageNode*>(old);
    // Square symbols keep their shape in an item of another shape: the largest
    // square that fits, centred.
    const qreal side = std::min(width(), height());
    if (side <= 0 || !window()) {
        delete node;
        return nullptr;
    }
    if (!node || m_imageChanged) {
        const QImage image = icons::rendered(
            m_symbol, m_color, renderedPixels(side, window()->effectiveDevicePixelRatio()));
        if (image.isNull()) {
            delete node;
            return nullptr;
        }
        if (!node) {
            node = window()->createImageNode();
            node->setOwnsTexture(true);
            node->setFiltering(QSGTexture::Linear);
        }
        node->setTexture(window()->createTextureFromImage(image));
        m_imageChanged = false;
    }
    node->setRect(QRectF((width() - side) / 2, (height() - side) / 2, side, side));
    return node;
}

} // namespace kv
