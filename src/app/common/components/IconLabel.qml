import QtQuick
import QtQuick.Layouts
import Kestovar

// A symbol and a plain-text label side by side, for the inside of buttons;
// the label shortens when the button is narrow.
RowLayout {
    id: label
    property string symbol
    property string text
    property color tone: Theme.text
    spacing: 6
    Accessible.ignored: true
    Icon {
        visible: label.symbol.length > 0
        symbol: label.symbol
        color: label.tone
        size: 13
    }
    Body {
        Layout.fillWidth: true
        visible: label.text.length > 0
        textStyle: "callout"
        text: label.text
        elide: Text.ElideRight
        color: label.tone
        Accessible.ignored: true
    }
}
