import QtQuick
import Kestovar

// The prominent action of a place: white on the brand colour.
ActionButton {
    id: button
    padding: 6
    leftPadding: 12
    rightPadding: 12
    tone: "white"
    font.weight: Font.Medium
    contentItem: Row {
        spacing: 6
        opacity: button.enabled ? 1 : 0.6
        Icon {
            anchors.verticalCenter: parent.verticalCenter
            visible: button.symbol.length > 0
            symbol: button.symbol
            color: button.tone
            size: 13
        }
        Body {
            anchors.verticalCenter: parent.verticalCenter
            text: button.text
            textStyle: "callout"
            color: button.tone
            font.weight: Font.Medium
        }
    }
    background: Rectangle {
        implicitHeight: 28
        radius: 6
        color: !button.enabled ? Theme.tint(Theme.brand, 0.35)
             : button.down ? Theme.brandLight : Theme.brand
    }
}
