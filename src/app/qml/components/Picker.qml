import QtQuick
import QtQuick.Controls
import Kestovar

// A drop-down choice among a list of {label, value} entries, named for screen
// readers by what it chooses; its current choice reads as text, not as a field.
ComboBox {
    id: picker
    property string name
    textRole: "label"
    valueRole: "value"
    font.pixelSize: Theme.size("body")
    Accessible.name: name
    Accessible.description: displayText
    contentItem: Text {
        leftPadding: 8
        rightPadding: picker.indicator.width + 4
        text: picker.displayText
        font: picker.font
        color: Theme.text
        verticalAlignment: Text.AlignVCenter
        elide: Text.ElideRight
    }
}
