import QtQuick
import QtQuick.Layouts
import Kestovar

// The strip at the top of a screen: title and subtitle, the agent in view,
// the screen's own controls, and how the live connection stands.
Rectangle {
    id: header
    property string title
    property string subtitle
    property bool showAgentContext: true
    default property alias trailing: trailingRow.data

    implicitHeight: column.implicitHeight + 20
    color: Theme.surface

    AgentInView { id: agent }

    RowLayout {
        anchors.fill: parent
        anchors.leftMargin: 16
        anchors.rightMargin: 12
        spacing: 10
        ColumnLayout {
            id: column
            Layout.fillWidth: true
            Layout.minimumWidth: 0
            spacing: 2
            Text {
                objectName: "contentTitle"
                text: header.title
                color: Theme.text
                font.pixelSize: Theme.size("title2")
                font.weight: Font.DemiBold
                Accessible.role: Accessible.Heading
                Accessible.name: text
            }
            Text {
                objectName: "contentSubtitle"
                Layout.fillWidth: true
                visible: header.subtitle.length > 0
                text: header.subtitle
                wrapMode: Text.WordWrap
                maximumLineCount: 2
                elide: Text.ElideRight
                color: Theme.secondaryText
                font.pixelSize: Theme.size("callout")
                Accessible.role: Accessible.StaticText
                Accessible.name: text
            }
            // Bound to the header's width: a long name or address is elided, never
            // drawn over the next pane.
            RowLayout {
                Layout.fillWidth: true
                Layout.minimumWidth: 0
                visible: header.showAgentContext
                spacing: 6
                Accessible.role: Accessible.StaticText
                Accessible.name: agent.name + (agent.website ? " " + agent.website : "")
                Text {
                    objectName: "agentInView"
                    Layout.maximumWidth: implicitWidth
                    Layout.fillWidth: true
                    Layout.minimumWidth: 0
                    text: agent.name
                    elide: Text.ElideRight
                    color: Theme.secondaryText
                    font.pixelSize: Theme.size("caption")
                    font.weight: Font.Medium
                }
                Text {
                    Layout.fillWidth: true
                    Layout.minimumWidth: 0
                    text: agent.website
                    elide: Text.ElideRight
                    color: Theme.tertiaryText
                    font.pixelSize: Theme.size("caption")
                }
            }
        }
        RowLayout { id: trailingRow; spacing: 8 }
        ConnectionStateIndicator {}
    }
    Rectangle {
        anchors.left: parent.left
        anchors.right: parent.right
        anchors.bottom: parent.bottom
        height: 1
        color: Theme.separator
    }
}
