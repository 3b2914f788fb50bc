import QtQuick
import Kestovar

// Where a conversation stands, as a tinted capsule.
Rectangle {
    property int status: Kinds.active
    readonly property var look: ({
        [Kinds.waiting]: ["Needs reply", Theme.warning],
        [Kinds.active]: ["Active", "#0A84FF"],
        [Kinds.operatorActive]: ["You're chatting", Theme.brand],
        [Kinds.resolved]: ["Resolved", "#30D158"]
    })[status] || ["Active", "#0A84FF"]
    implicitWidth: label.implicitWidth + 12
    implicitHeight: label.implicitHeight + 4
    radius: height / 2
    color: Qt.rgba(Qt.color(look[1]).r, Qt.color(look[1]).g, Qt.color(look[1]).b, 0.12)
    Accessible.role: Accessible.StaticText
    Accessible.name: look[0]

    Text {
        id: label
        anchors.centerIn: parent
        text: parent.look[0]
        color: parent.look[1]
        font.pixelSize: Theme.size("caption2")
        font.weight: Font.Medium
    }
}
