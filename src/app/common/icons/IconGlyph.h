#pragma once

// A symbol from the icon map, drawn in a colour to fill the item. Screens use
// it through Icon, which sizes it with the text scale.
//
// One light item per symbol: the screens show a symbol on every row and
// bubble, and an Image for each (an image URL made and looked up, a pixmap
// request, two items) was a quarter of what a message bubble costs to make.
// The symbol is drawn at twice the item's size (times the screen's pixel
// ratio) and scaled down smoothly, as the icons have always been drawn.

#include <QColor>
#include <QQuickItem>
#include <QtQml/qqmlregistration.h>

namespace kv {

class IconGlyph : public QQuickItem {
    Q_OBJECT
    QML_ELEMENT
    Q_PROPERTY(QString symbol READ symbol WRITE setSymbol NOTIFY symbolChanged)
    Q_PROPERTY(QColor color READ color WRITE setColor NOTIFY colorChanged)

public:
    explicit IconGlyph(QQuickItem* parent = nullptr);

    QString symbol() const { return m_symbol; }
    void setSymbol(const QString& symbol);
    QColor color() const { return m_color; }
    void setColor(const QColor& color);

    // The size, in pixels, the symbol is rendered at for an item `side` wide.
    static int renderedPixels(qreal side, qreal devicePixelRatio);

signals:
    void symbolChanged();
    void colorChanged();

protected:
    QSGNode* updatePaintNode(QSGNode* old, UpdatePaintNodeData*) override;
    void geometryChange(const QRectF& next, const QRectF& previous) override;
    void itemChange(ItemChange change, const ItemChangeData& value) override;

private:
    // The symbol must be rendered again (new symbol, colour, size or pixel ratio).
    void redraw();

    QString m_symbol;
    QColor m_color{Qt::black};
    bool m_imageChanged = true;
};

} // namespace kv
