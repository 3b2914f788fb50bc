import QtQuick
import QtQuick.Controls
import QtQuick.Layouts
import Kestovar

// A small window to answer one conversation from a notification. It closes
// once the service has the reply; a refused reply stays, with the reason.
Window {
    id: win
    objectName: "quickReplyWindow"
    property alias projectID: reply.projectID
    property alias conversationID: reply.conversationID
    property string agentName
    property string visitorName
    title: "Reply — " + agentName
    width: 420
    height: 200
    color: Theme.window

    QuickReply {
        id: reply
        onSent: win.close()
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
            Accessible.role: Accessible.Heading
            Accessible.name: text
        }
        TextField {
            id: field
            objectName: "quickReplyField"
            Layout.fillWidth: true
            placeholderText: "Type your reply…"
            focus: true
            readOnly: reply.sending
            Accessible.name: "Reply"
            onAccepted: reply.send(text)
        }
        Text {
            objectName: "quickReplyFailure"
            Layout.fillWidth: true
            visible: reply.failure !== ""
            text: reply.failure
            wrapMode: Text.Wrap
            color: Theme.danger
            font.pixelSize: Theme.size("callout")
            Accessible.role: Accessible.AlertMessage
            Accessible.name: text
        }
        PrimaryButton {
            objectName: "quickReplySend"
            Layout.alignment: Qt.AlignRight
            text: "Send"
            enabled: reply.canSend(field.text)
            onClicked: reply.send(field.text)
        }
    }
}
