import QtQuick
import QtQuick.Layouts
import Kestovar

// One section of the window: symbol, title and, from 1, a count on a coloured capsule.
Rectangle {
    id: row
    property string symbol
    property string title
    property int badge: 0
    property color badgeColor: Theme.brand
    property bool selected: false
    signal clicked()

    implicitHeight: 28 * Theme.fontScale
    radius: 6
    color: selected ? Theme.brandAt(0.12) : (mouse.containsMouse ? Qt.rgba(0.5, 0.5, 0.5, 0.10) : "transparent")
    Accessible.role: Accessible.PageTab
    Accessible.name: title + (badge >= 1 ? ", " + badge : "")
    Accessible.selected: selected
    Accessible.onPressAction: row.clicked()

    RowLayout {
        anchors.fill: parent
        anchors.leftMargin: 8
        anchors.rightMargin: 8
        spacing: 8
        Item {
            implicitWidth: 18 * Theme.fontScale
            implicitHeight: 18 * Theme.fontScale
            Icon {
                anchors.centerIn: parent
                symbol: row.symbol
                color: row.selected ? Theme.brandAccent : Theme.secondaryText
                size: 15
            }
        }
        Body {
            Layout.fillWidth: true
            text: row.title
            elide: Text.ElideRight
            color: row.selected ? Theme.text : Theme.secondaryText
            font.weight: row.selected ? Font.DemiBold : Font.Normal
        }
        Rectangle {
            visible: row.badge >= 1
            implicitWidth: Math.max(badgeText.implicitWidth + 12, height)
            implicitHeight: badgeText.implicitHeight + 4
            radius: height / 2
            color: row.badgeColor
            Body {
                id: badgeText
                textStyle: "caption2"
                anchors.centerIn: parent
                text: row.badge
                color: "white"
                font.weight: Font.DemiBold
            }
        }
    }
    MouseArea {
        id: mouse
        anchors.fill: parent
        hoverEnabled: true
        cursorShape: Qt.PointingHandCursor
        onClicked: row.clicked()
    }
}
