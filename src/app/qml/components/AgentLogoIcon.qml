import QtQuick
import Kestovar

// An agent's logo, or a tile with its initials (or emoji) while none is shown.
Item {
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
        radius: 0.24 * parent.s
        clip: true
        color: parent.projectName.length > 0 ? (Ui.color(parent.colorHex) || "#6366F1") : "transparent"
        visible: logo.status !== Image.Ready

        Text {
            anchors.centerIn: parent
            text: parent.parent.projectName.length > 0
                  ? parent.parent.projectName.substring(0, 2).toUpperCase() : parent.parent.emoji
            color: "white"
            font.pixelSize: parent.parent.projectName.length > 0 ? parent.parent.s * 0.55 / 1.3
                                                                 : parent.parent.s * 0.72
            font.weight: Font.DemiBold
        }
    }
    Image {
        id: logo
        anchors.fill: parent
        source: parent.logoURL
        asynchronous: true
        fillMode: Image.PreserveAspectCrop
        sourceSize: Qt.size(parent.s * 2, parent.s * 2)
        visible: status === Image.Ready
    }
}
