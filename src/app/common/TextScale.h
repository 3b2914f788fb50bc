#pragma once

// The text-size preference as a factor, and the screen's points per pixel:
// the screens give sizes in pixels and set them as fractional points, so
// nothing is rounded. `TextScale` in QML, read by the theme.

#include <QObject>
#include <QtQml/qqmlregistration.h>

namespace kv {

class TextScale : public QObject {
    Q_OBJECT
    QML_ELEMENT
    QML_SINGLETON
    Q_PROPERTY(double pointsPerPixel READ pointsPerPixel CONSTANT)

public:
    using QObject::QObject;

    // small 1.0, normal 1.15, large 1.3, extraLarge 1.48.
    Q_INVOKABLE static double factor(int fontSizePreference);
    static double pointsPerPixel();
};

} // namespace kv
