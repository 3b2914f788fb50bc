import QtQuick
import Kestovar

// The header of one agent's block of visitors: opens and closes the block,
// and stays pinned to the top while its block scrolls by.
Rectangle {
    id: header
    property visitorGroupInfo info
    readonly property bool expanded: info.expanded
    signal toggled()

    implicitHeight: Math.max(names.implicitHeight, 22 * Theme.fontScale) + 18
    color: Theme.surface
    Accessible.role: Accessible.Button
    Accessible.name: info.accessibleName
    Accessible.checkable: true
    Accessible.checked: expanded
    Accessible.onPressAction: header.toggled()

    Icon {
        id: chevron
        x: 20
        anchors.verticalCenter: parent.verticalCenter
        symbol: "chevron.right"
        color: Theme.secondaryText
        size: 10
        rotation: header.expanded ? 90 : 0
        Behavior on rotation { NumberAnimation { duration: 150; easing.type: Easing.InOutQuad } }
    }
    AgentLogoIcon {
        id: logo
        anchors.left: chevron.right
        anchors.leftMargin: 10
        anchors.verticalCenter: parent.verticalCenter
        side: 22
        logoURL: header.info.logoURL
        emoji: header.info.emoji || "🌐"
        projectName: header.info.hasProject ? header.info.name : ""
        colorHex: header.info.colorHex || undefined
    }
    Column {
        id: names
        anchors.left: logo.right
        anchors.leftMargin: 10
        anchors.right: count.left
        anchors.rightMargin: 10
        anchors.verticalCenter: parent.verticalCenter
        Body {
            width: parent.width
            text: header.info.name
            elide: Text.ElideRight
            font.weight: Font.DemiBold
        }
        Body {
            textStyle: "caption"
            width: parent.width
            visible: text.length > 0
            text: header.info.host
            elide: Text.ElideRight
            color: Theme.tertiaryText
        }
    }
    Body {
        id: count
        anchors.right: parent.right
        anchors.rightMargin: 20
        anchors.verticalCenter: parent.verticalCenter
        text: header.info.count
        color: Theme.secondaryText
        font.weight: Font.DemiBold
    }
    Rectangle {
        anchors.left: parent.left
        anchors.right: parent.right
        anchors.bottom: parent.bottom
        height: 1
        color: Theme.separator
    }
    MouseArea {
        anchors.fill: parent
        cursorShape: Qt.PointingHandCursor
        onClicked: header.toggled()
    }
}
