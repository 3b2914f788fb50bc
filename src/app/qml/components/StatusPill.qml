import QtQuick
import Kestovar

// Where a conversation stands, as a tinted capsule.
Rectangle {
    id: pill
    property int status: Kinds.active
    readonly property color tone: Theme.statusColor(status)
    implicitWidth: label.implicitWidth + 12
    implicitHeight: label.implicitHeight + 4
    radius: height / 2
    color: Theme.tint(tone, 0.12)
    Accessible.role: Accessible.StaticText
    Accessible.name: label.text

    Text {
        id: label
        anchors.centerIn: parent
        text: UiTexts.statusText(pill.status)
        color: pill.tone
        font.pixelSize: Theme.size("caption2")
        font.weight: Font.Medium
    }
}
