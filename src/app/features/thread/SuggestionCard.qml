import QtQuick
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
            Heading {
                textStyle: "callout"
                Layout.fillWidth: true
                text: "Suggested reply"
                color: Theme.brandAccent
            }
            IconButton {
                objectName: "dismissSuggestion"
                symbol: "xmark"
                symbolSize: 11
                tip: "Dismiss suggestion"
                onClicked: card.controller.dismissSuggestion()
            }
        }
        SelectableText {
            objectName: "suggestionText"
            Layout.fillWidth: true
            text: card.controller.suggestion
        }
        RowLayout {
            PrimaryButton {
                objectName: "useSuggestion"
                symbol: "arrow.down.to.line"
                text: "Use this reply"
                onClicked: card.controller.useSuggestion()
            }
            ActionButton {
                objectName: "regenerateSuggestion"
                enabled: false
                symbol: "arrow.triangle.2.circlepath"
                text: "Regenerate"
                tone: Theme.tertiaryText
                tip: UiTexts.notYetAvailable
                Accessible.description: UiTexts.notYetAvailable
            }
        }
    }
}
