import QtQuick
import Kestovar

// Where a conversation stands, as a tinted capsule.
Rectangle {
    id: pill
    property int status: ConversationStatus.Active
    // The status's text; given by lists that already have it, else looked up.
    property string text: UiTexts.statusText(status)
    readonly property color tone: Theme.statusColor(status)
    implicitWidth: label.implicitWidth + 12
    implicitHeight: label.implicitHeight + 4
    radius: height / 2
    color: Theme.tint(tone, 0.12)
    Accessible.role: Accessible.StaticText
    Accessible.name: label.text

    Body {
        id: label
        textStyle: "caption2"
        anchors.centerIn: parent
        text: pill.text
        color: pill.tone
        font.weight: Font.Medium
    }
}
