import QtQuick
import QtQuick.Layouts
import Kestovar

// Which agent the window shows (or all of them), the four sections, and who is signed in.
Rectangle {
    id: sidebar
    objectName: "sidebar"
    color: Theme.sidebar

    SidebarModel { id: sidebarModel; objectName: "sidebarModel" }

    ColumnLayout {
        anchors.fill: parent
        anchors.margins: 8
        spacing: 6

        RowLayout {
            Layout.leftMargin: 8
            Layout.rightMargin: 8
            Layout.topMargin: 4
            Heading {
                textStyle: "caption"
                text: "AGENTS"
                color: Theme.tertiaryText
            }
            Item { Layout.fillWidth: true }
            UnreadBadge {
                objectName: "projectsUnread"
                count: sidebarModel.totalUnread
            }
        }
        SearchField {
            objectName: "projectSearch"
            Layout.fillWidth: true
            placeholder: "Search agents"
            text: sidebarModel.search
            onTextEdited: (text) => sidebarModel.search = text
        }
        ListView {
            id: projects
            objectName: "projectList"
            Layout.fillWidth: true
            Layout.fillHeight: true
            clip: true
            spacing: 2
            model: sidebarModel.rows
            Accessible.role: Accessible.List
            Accessible.name: "Agents"
            delegate: SidebarProjectDelegate {
                width: ListView.view.width
                onActivated: (kind, projectID, clientID) => {
                    if (kind === SidebarModel.ClientHeader)
                        sidebarModel.toggleClient(clientID)
                    else
                        sidebarModel.selectProject(projectID)
                }
            }
        }
        Rectangle {
            Layout.fillWidth: true
            height: 1
            color: Theme.separator
        }
        Repeater {
            model: [
                { title: "Inbox", symbol: "tray.fill", section: AppSection.Inbox },
                { title: "Live visitors", symbol: "person.2.wave.2.fill", section: AppSection.Visitors },
                { title: "Stats", symbol: "chart.line.uptrend.xyaxis", section: AppSection.Stats },
                { title: "Settings", symbol: "gearshape.fill", section: AppSection.Settings }
            ]
            delegate: NavRow {
                required property var modelData
                Layout.fillWidth: true
                objectName: "nav" + modelData.title.replace(" ", "")
                symbol: modelData.symbol
                title: modelData.title
                badge: modelData.section === AppSection.Inbox ? sidebarModel.inboxBadge
                     : modelData.section === AppSection.Visitors ? sidebarModel.liveVisitorsBadge : 0
                badgeColor: modelData.section === AppSection.Visitors ? Theme.onlineDot : Theme.brand
                selected: AppState.selectedSection === modelData.section
                onClicked: AppState.selectedSection = modelData.section
            }
        }
        SidebarFooter {
            Layout.fillWidth: true
            initials: sidebarModel.userInitials
            name: sidebarModel.userName
        }
    }
}
