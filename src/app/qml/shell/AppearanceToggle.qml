import QtQuick
import QtQuick.Controls
import Kestovar

// Flips between forced light and forced dark; only Settings returns to the system's.
ToolButton {
    id: toggle
    objectName: "appearanceToggle"
    readonly property bool effectivelyDark: Theme.dark
    icon.source: ""
    contentItem: Icon {
        symbol: toggle.effectivelyDark ? "sun.max.fill" : "moon.fill"
        color: Theme.text
        size: 16
    }
    ToolTip.visible: hovered
    ToolTip.text: effectivelyDark ? "Switch to Light Mode" : "Switch to Dark Mode"
    Accessible.name: ToolTip.text
    onClicked: AppState.appearance = effectivelyDark ? Kinds.light : Kinds.dark
}
