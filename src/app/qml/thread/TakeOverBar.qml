import QtQuick
import QtQuick.Controls
import QtQuick.Layouts
import Kestovar

// While the AI handles the chat: the operator may take it over.
Rectangle {
    id: bar
    objectName: "takeOverBar"
    signal takeOver()
    implicitHeight: row.implicitHeight + 24
    color: Theme.surface

    RowLayout {
        id: row
        anchors.fill: parent
        anchors.margins: 12
        spacing: 10
        Icon { symbol: "sparkles"; color: Theme.brandAccent; size: 18 }
        ColumnLayout {
            Layout.fillWidth: true
            spacing: 2
            Text {
                Layout.fillWidth: true
                wrapMode: Text.WordWrap
                text: "The AI is handling this conversation."
                color: Theme.text
                font.pixelSize: Theme.size("body")
                font.weight: Font.Medium
                Accessible.role: Accessible.StaticText
                Accessible.name: text
            }
            Text {
                Layout.fillWidth: true
                wrapMode: Text.WordWrap
                text: "Your first reply hands the conversation to you."
                color: Theme.secondaryText
                font.pixelSize: Theme.size("caption")
                Accessible.role: Accessible.StaticText
                Accessible.name: text
            }
        }
        PrimaryButton {
            objectName: "takeOverButton"
            symbol: "person.fill.checkmark"
            text: "Take over this chat"
            onClicked: bar.takeOver()
        }
    }
}
