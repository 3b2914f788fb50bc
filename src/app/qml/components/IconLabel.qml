import QtQuick
import QtQuick.Layouts
import Kestovar

// A symbol and a label side by side, for the inside of buttons; the label
// shortens when the button is narrow.
RowLayout {
    id: label
    property string symbol
    property string text
    property color tone: Theme.text
    spacing: 6
    Icon {
        symbol: label.symbol
        color: label.tone
        size: 13
    }
    Text {
        Layout.fillWidth: true
        text: label.text
        elide: Text.ElideRight
        color: label.tone
        font.pixelSize: Theme.size("callout")
    }
}
