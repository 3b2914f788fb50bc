import QtQuick
import QtQuick.Controls
import QtQuick.Layouts
import Kestovar

// The four sections, then every agent with its unread and online counts.
Rectangle {
    objectName: "sidebar"
    color: Theme.sidebar

    ColumnLayout {
        anchors.fill: parent
        anchors.margins: 8
        spacing: 2

        Repeater {
            model: [
                { title: "Inbox", symbol: "tray.fill", section: Kinds.inbox },
                { title: "Live visitors", symbol: "person.2.wave.2.fill", section: Kinds.visitors },
                { title: "Stats", symbol: "chart.line.uptrend.xyaxis", section: Kinds.stats },
                { title: "Settings", symbol: "gearshape.fill", section: Kinds.settings }
            ]
            delegate: SidebarRow {
                required property var modelData
                Layout.fillWidth: true
                symbol: modelData.symbol
                title: modelData.title
                selected: AppState.selectedSection === modelData.section
                onClicked: AppState.selectedSection = modelData.section
            }
        }

        Text {
            Layout.topMargin: 12
            Layout.leftMargin: 8
            text: "AGENTS"
            color: Theme.secondaryText
            font.pixelSize: Theme.size("caption")
            font.weight: Font.DemiBold
        }
        SidebarRow {
            Layout.fillWidth: true
            symbol: "sparkles"
            title: "All agents"
            selected: AppState.selectedProjectID === ""
            onClicked: AppState.selectedProjectID = ""
        }
        ListView {
            objectName: "agentList"
            Layout.fillWidth: true
            Layout.fillHeight: true
            clip: true
            model: AppState.projects
            spacing: 2
            delegate: SidebarRow {
                id: agentRow
                required property string id
                required property string name
                required property string emoji
                required property var logoURL
                required property var widgetColor
                required property int unreadCount
                required property int liveVisitorCount
                width: ListView.view.width
                title: name
                selected: AppState.selectedProjectID === id
                unread: unreadCount
                online: liveVisitorCount
                icon: AgentLogoIcon {
                    logoURL: agentRow.logoURL ? agentRow.logoURL : ""
                    emoji: agentRow.emoji
                    projectName: agentRow.name
                    colorHex: agentRow.widgetColor
                    side: 20
                }
                onClicked: AppState.selectedProjectID = id
            }
        }
    }
}
