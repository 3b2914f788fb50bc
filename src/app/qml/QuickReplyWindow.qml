import QtQuick
import QtQuick.Controls
import QtQuick.Layouts
import Kestovar

// A small window to answer one conversation from a notification.
Window {
    id: win
    objectName: "quickReplyWindow"
    property string projectID
    property string conversationID
    property string agentName
    property string visitorName
    title: "Reply — " + agentName
    width: 420
    height: 180
    color: Theme.window

    function send() {
        const text = field.text.trim()
        if (text.length === 0)
            return
        AppState.sendReplyDirect(projectID, conversationID, text)
        win.close()
    }

    Shortcut {
        sequence: "Escape"
        onActivated: win.close()
    }
    ColumnLayout {
        anchors.fill: parent
        anchors.margins: 16
        spacing: 10
        Text {
            text: win.agentName + " · " + (win.visitorName || "A visitor")
            color: Theme.text
            font.pixelSize: Theme.size("headline")
            font.weight: Font.DemiBold
        }
        TextField {
            id: field
            objectName: "quickReplyField"
            Layout.fillWidth: true
            placeholderText: "Type your reply…"
            focus: true
            Accessible.name: "Reply"
            onAccepted: win.send()
        }
        Button {
            Layout.alignment: Qt.AlignRight
            text: "Send"
            highlighted: true
            enabled: field.text.trim().length > 0
            onClicked: win.send()
        }
    }
}
