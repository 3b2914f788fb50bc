import QtQuick
import Kestovar

// A small borderless button showing only a symbol; its tip names it.
ActionButton {
    id: control
    property real symbolSize: 16
    flat: true
    padding: 6
    tone: Theme.secondaryText
    contentItem: Icon {
        symbol: control.symbol
        color: control.tone
        size: control.symbolSize
        opacity: control.enabled ? 1 : 0.5
    }
    // As small as its symbol: a tint while pressed or pointed at, nothing otherwise.
    background: Rectangle {
        implicitWidth: 24
        implicitHeight: 24
        radius: 6
        color: control.down ? Qt.rgba(0.5, 0.5, 0.5, 0.25)
             : control.hovered || control.visualFocus ? Qt.rgba(0.5, 0.5, 0.5, 0.12) : "transparent"
        border.color: control.visualFocus ? Theme.brandAccent : "transparent"
    }
}
