import QtQuick
import QtQuick.Layouts
import Kestovar

// One icon-and-text line of a panel card.
RowLayout {
    id: row
    property string icon
    property string label
    spacing: 8
    Accessible.role: Accessible.StaticText
    Accessible.name: label

    // Beside the first line of the label, however many lines it wraps to.
    Item {
        Layout.alignment: Qt.AlignTop
        implicitWidth: 16 * Theme.fontScale
        implicitHeight: line.height
        FontMetrics { id: line; font.pointSize: Theme.size("callout") }
        Icon {
            anchors.centerIn: parent
            symbol: row.icon
            color: Theme.secondaryText
            size: 12
        }
    }
    Body {
        textStyle: "callout"
        Layout.fillWidth: true
        text: row.label
        wrapMode: Text.Wrap
    }
}
