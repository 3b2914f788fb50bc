import QtQuick
import QtQuick.Layouts
import Kestovar

// The busiest agents over the range, in the service's order.
StatsCard {
    id: card
    objectName: "topAgentsCard"
    property var agents: []
    title: "Top agents"

    Repeater {
        model: card.agents
        RowLayout {
            required property var modelData
            Layout.fillWidth: true
            spacing: 8
            Accessible.role: Accessible.StaticText
            Accessible.name: modelData.name + ", " + modelData.conversations + " conversations"
            Text {
                text: modelData.icon
                font.pixelSize: Theme.size("title3")
            }
            ColumnLayout {
                Layout.fillWidth: true
                spacing: 0
                Text {
                    Layout.fillWidth: true
                    text: modelData.name
                    elide: Text.ElideRight
                    color: Theme.text
                    font.pixelSize: Theme.size("body")
                    font.weight: Font.Medium
                }
                Text {
                    Layout.fillWidth: true
                    visible: text.length > 0
                    text: modelData.website
                    elide: Text.ElideRight
                    color: Theme.tertiaryText
                    font.pixelSize: Theme.size("caption")
                }
            }
            Text {
                text: modelData.conversations
                color: Theme.secondaryText
                font.pixelSize: Theme.size("body")
                font.weight: Font.DemiBold
            }
        }
    }
}
