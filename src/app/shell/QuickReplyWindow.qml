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
    property string projectName
    property string visitorName
    title: "Reply — " + projectName
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
        Heading {
            text: win.projectName + " · " + (win.visitorName || "A visitor")
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
        Body {
            objectName: "quickReplyFailure"
            textStyle: "callout"
            Layout.fillWidth: true
            visible: reply.failure !== ""
            text: reply.failure
            wrapMode: Text.Wrap
            color: Theme.danger
            Accessible.role: Accessible.AlertMessage
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
