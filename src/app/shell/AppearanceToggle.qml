import QtQuick
import Kestovar

// Flips between forced light and forced dark; only Settings returns to the system's.
IconButton {
    objectName: "appearanceToggle"
    readonly property bool effectivelyDark: Theme.dark
    symbol: effectivelyDark ? "sun.max.fill" : "moon.fill"
    tone: Theme.text
    tip: effectivelyDark ? "Switch to Light Mode" : "Switch to Dark Mode"
    onClicked: AppState.appearance = effectivelyDark ? AppearancePreference.Light : AppearancePreference.Dark
}
