#include "TextScale.h"

#include "Enums.h"

#include <QGuiApplication>
#include <QScreen>

namespace kv {

double TextScale::factor(int fontSizePreference) {
    switch (FontSizePreference(fontSizePreference)) {
    case FontSizePreference::small:
        return 1.0;
    case FontSizePreference::normal:
        break;
    case FontSizePreference::large:
        return 1.3;
    case FontSizePreference::extraLarge:
        return 1.48;
    }
    return 1.15;
}

double TextScale::pointsPerPixel() {
    // Text items turn points into pixels at the screen's whole logical dots per inch.
    const QScreen* screen = QGuiApplication::primaryScreen();
    const int dpi = screen ? qRound(screen->logicalDotsPerInchY()) : 0;
    return dpi > 0 ? 72.0 / dpi : 0.75;
}

} // namespace kv
