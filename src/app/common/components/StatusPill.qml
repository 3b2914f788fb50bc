import QtQuick
import Kestovar

// Where a conversation stands, as a tinted capsule.
Rectangle {
    id: pill
    property int status: ConversationStatus.Active
    // The status's text; given by lists that already have it, else looked up.
    property string text: UiTexts.statusText(status)
    implicitWidth: label.implicitWidth + 12
    implicitHeight: label.implicitHeight + 4
    radius: height / 2
    color: Theme.tint(Theme.statusColor(status), 0.12)
    Accessible.role: Accessible.StaticText
    Accessible.name: label.text

    Body {
        id: label
        textStyle: "caption2"
        anchors.centerIn: parent
        text: pill.text
        color: Theme.statusInk(pill.status)
        font.weight: Font.Medium
    }
}
