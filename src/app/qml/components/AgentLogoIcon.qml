import QtQuick
import Kestovar

// An agent's logo, or a tile with its initials (or emoji) while none is shown.
Item {
    id: agentLogo
    property url logoURL
    property string emoji: "🤖"
    property string projectName
    property var colorHex
    property real side: 24
    readonly property real s: side * Theme.fontScale
    implicitWidth: s
    implicitHeight: s
    Accessible.role: Accessible.Graphic
    Accessible.name: projectName || emoji

    Rectangle {
        id: tile
        anchors.fill: parent
        radius: 0.24 * agentLogo.s
        clip: true
        color: agentLogo.projectName.length > 0 ? (Ui.color(agentLogo.colorHex) || "#6366F1") : "transparent"
        visible: logo.status !== Image.Ready

        Text {
            anchors.centerIn: parent
            text: agentLogo.projectName.length > 0
                  ? agentLogo.projectName.substring(0, 2).toUpperCase() : agentLogo.emoji
            color: "white"
            font.pixelSize: agentLogo.projectName.length > 0 ? agentLogo.s * 0.55 / 1.3
                                                                 : agentLogo.s * 0.72
            font.weight: Font.DemiBold
        }
    }
    Image {
        id: logo
        anchors.fill: parent
        source: agentLogo.logoURL
        asynchronous: true
        fillMode: Image.PreserveAspectCrop
        sourceSize.width: agentLogo.s * 2
        sourceSize.height: agentLogo.s * 2
        visible: status === Image.Ready
    }
}
