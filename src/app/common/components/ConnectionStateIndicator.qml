import QtQuick
import Kestovar

// How the live connection stands: quiet when connected.
Row {
    readonly property int state: AppState.connectionState
    spacing: 6
    Accessible.role: Accessible.StaticText
    Accessible.name: label.text

    Rectangle {
        width: 7
        height: 7
        radius: 3.5
        anchors.verticalCenter: parent.verticalCenter
        color: parent.state === ConnectionState.Connected ? Theme.onlineDot
             : parent.state === ConnectionState.Reconnecting ? Theme.warning : Theme.danger
    }
    Body {
        id: label
        textStyle: "caption"
        text: parent.state === ConnectionState.Connected ? "Live"
            : parent.state === ConnectionState.Reconnecting ? "Reconnecting…" : "Offline"
        color: Theme.secondaryText
        font.weight: Font.Medium
    }
}
