import QtQuick
import QtQuick.Layouts
import Kestovar

// The busiest agents over the range, in the service's order.
StatsCard {
    id: card
    objectName: "topAgentsCard"
    property var projects: []
    title: "Top agents"

    Repeater {
        model: card.projects
        RowLayout {
            required property topAgentRow modelData
            objectName: "topAgentRow"
            Layout.fillWidth: true
            spacing: 8
            Accessible.role: Accessible.StaticText
            Accessible.name: modelData.name + ", " + modelData.conversations + " conversations"
            Body {
                textStyle: "title3"
                text: modelData.icon
            }
            ColumnLayout {
                Layout.fillWidth: true
                spacing: 0
                Body {
                    Layout.fillWidth: true
                    text: modelData.name
                    elide: Text.ElideRight
                    font.weight: Font.Medium
                }
                Body {
                    textStyle: "caption"
                    Layout.fillWidth: true
                    visible: text.length > 0
                    text: modelData.website
                    elide: Text.ElideRight
                    color: Theme.tertiaryText
                }
            }
            Body {
                text: modelData.conversations
                color: Theme.secondaryText
                font.weight: Font.DemiBold
            }
        }
    }
}
