import QtQuick
import QtQuick.Controls
import QtQuick.Layouts
import Kestovar

// The AI's suggested reply while the visitor waits: use it, or put it away.
Rectangle {
    id: card
    objectName: "suggestionCard"
    property ThreadController controller
    implicitHeight: column.implicitHeight + 20
    radius: 10
    color: Theme.brandAt(0.06)
    border.color: Theme.brandAt(0.25)
    Accessible.role: Accessible.Grouping
    Accessible.name: "Suggested reply"

    ColumnLayout {
        id: column
        anchors.fill: parent
        anchors.margins: 10
        spacing: 6
        RowLayout {
            Icon { symbol: "sparkles"; color: Theme.brandAccent; size: 13 }
            Text {
                Layout.fillWidth: true
                text: "Suggested reply"
                color: Theme.brandAccent
                font.pixelSize: Theme.size("callout")
                font.weight: Font.DemiBold
                Accessible.role: Accessible.Heading
                Accessible.name: text
            }
            ToolButton {
                objectName: "dismissSuggestion"
                contentItem: Icon { symbol: "xmark"; color: Theme.secondaryText; size: 11 }
                Accessible.name: "Dismiss suggestion"
                ToolTip.visible: hovered
                ToolTip.text: "Dismiss suggestion"
                onClicked: card.controller.dismissSuggestion()
            }
        }
        TextEdit {
            objectName: "suggestionText"
            Layout.fillWidth: true
            text: card.controller.suggestion
            readOnly: true
            selectByMouse: true
            wrapMode: TextEdit.Wrap
            color: Theme.text
            font.pixelSize: Theme.size("body")
            Accessible.role: Accessible.StaticText
            Accessible.name: text
        }
        RowLayout {
            PrimaryButton {
                objectName: "useSuggestion"
                symbol: "arrow.down.to.line"
                text: "Use this reply"
                onClicked: card.controller.useSuggestion()
            }
            Button {
                objectName: "regenerateSuggestion"
                enabled: false
                contentItem: IconLabel { symbol: "arrow.triangle.2.circlepath"; text: "Regenerate"; tone: Theme.tertiaryText }
                Accessible.name: "Regenerate"
                Accessible.description: UiTexts.notYetAvailable
                HoverHandler { id: regenerateHover }
                ToolTip.visible: regenerateHover.hovered
                ToolTip.text: UiTexts.notYetAvailable
            }
        }
    }
}
