import QtQuick
import QtQuick.Layouts
import Kestovar

// While the AI handles the chat: the operator may take it over.
Rectangle {
    id: bar
    objectName: "takeOverBar"
    signal takeOver()
    // From the texts as wrapped at the width they got: a narrow thread wraps
    // them onto more lines than a layout's implicit heights count.
    implicitHeight: Math.max(takeOverButton.implicitHeight, texts.height) + 24
    color: Theme.surface

    RowLayout {
        id: row
        anchors.fill: parent
        anchors.margins: 12
        spacing: 10
        Icon { symbol: "sparkles"; color: Theme.brandAccent; size: 18 }
        Column {
            id: texts
            Layout.fillWidth: true
            Layout.preferredWidth: 0 // whatever the icon and the button leave
            spacing: 2
            Body {
                width: texts.width
                wrapMode: Text.Wrap
                text: "The AI is handling this conversation."
                font.weight: Font.Medium
            }
            Body {
                textStyle: "caption"
                width: texts.width
                wrapMode: Text.Wrap
                text: "Your first reply hands the conversation to you."
                color: Theme.secondaryText
            }
        }
        PrimaryButton {
            id: takeOverButton
            objectName: "takeOverButton"
            symbol: "person.fill.checkmark"
            text: "Take over this chat"
            onClicked: bar.takeOver()
        }
    }
}
