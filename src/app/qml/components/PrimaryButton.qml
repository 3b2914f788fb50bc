import QtQuick
import QtQuick.Controls
import Kestovar

// The prominent action of a place: white on the brand colour.
Button {
    id: button
    property string symbol
    padding: 6
    leftPadding: 12
    rightPadding: 12
    Accessible.name: text
    contentItem: Row {
        spacing: 6
        opacity: button.enabled ? 1 : 0.6
        Icon {
            anchors.verticalCenter: parent.verticalCenter
            visible: button.symbol.length > 0
            symbol: button.symbol
            color: "white"
            size: 13
        }
        Text {
            anchors.verticalCenter: parent.verticalCenter
            text: button.text
            color: "white"
            font.pixelSize: Theme.size("callout")
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
