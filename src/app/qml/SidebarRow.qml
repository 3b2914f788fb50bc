import QtQuick
import QtQuick.Layouts
import Kestovar

// One clickable sidebar line.
Rectangle {
    id: row
    property string symbol
    property string title
    property bool selected: false
    property int unread: 0
    property int online: 0
    property Component icon
    signal clicked()

    implicitHeight: 30 * Theme.fontScale
    radius: 6
    color: selected ? Theme.selection : (mouse.containsMouse ? Qt.rgba(0.5, 0.5, 0.5, 0.12) : "transparent")
    Accessible.role: Accessible.ListItem
    Accessible.name: title
    Accessible.selected: selected
    Accessible.onPressAction: row.clicked()

    RowLayout {
        anchors.fill: parent
        anchors.leftMargin: 8
        anchors.rightMargin: 8
        spacing: 8
        Loader {
            active: row.icon !== null
            visible: active
            sourceComponent: row.icon
        }
        Icon {
            visible: row.icon === null
            symbol: row.symbol
            color: row.selected ? Theme.brandAccent : Theme.secondaryText
            size: 15
        }
        Text {
            Layout.fillWidth: true
            text: row.title
            elide: Text.ElideRight
            color: Theme.text
            font.pixelSize: Theme.size("body")
            font.weight: row.selected ? Font.DemiBold : Font.Normal
        }
        OnlineDot { count: row.online }
        UnreadBadge { count: row.unread }
    }
    MouseArea {
        id: mouse
        anchors.fill: parent
        hoverEnabled: true
        onClicked: row.clicked()
    }
}
