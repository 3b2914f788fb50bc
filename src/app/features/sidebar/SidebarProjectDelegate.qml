import QtQuick
import QtQuick.Layouts
import Kestovar

// One line of the agent list: "All AI Agents", a group header, a client group
// that opens and closes, or an agent.
Rectangle {
    id: row
    required property int kind
    required property string title
    required property string emoji
    required property var logoURL
    required property var colorHex
    required property bool hasProjectIdentity
    required property int unreadCount
    required property int liveCount
    required property bool isSelected
    required property bool indented
    required property string projectID
    required property string clientID
    required property bool expanded
    required property int count
    signal activated(int kind, string projectID, string clientID)

    readonly property bool isProject: kind === SidebarModel.ProjectEntry || kind === SidebarModel.AllProjects
    readonly property bool clickable: kind !== SidebarModel.GroupHeader
    implicitHeight: (kind === SidebarModel.GroupHeader ? 24 : 28) * Theme.fontScale
    radius: 6
    color: isSelected ? Theme.brandAt(0.12)
         : (clickable && mouse.containsMouse ? Qt.rgba(0.5, 0.5, 0.5, 0.10) : "transparent")
    Accessible.role: kind === SidebarModel.GroupHeader ? Accessible.Heading
                   : kind === SidebarModel.ClientHeader ? Accessible.Button : Accessible.ListItem
    Accessible.name: kind === SidebarModel.ClientHeader
                     ? title + ", " + count + (expanded ? " agents, open" : " agents, closed")
                     : kind === SidebarModel.GroupHeader ? title + " " + count
                     : title + (unreadCount > 0 ? ", " + unreadCount + " unread" : "")
                       + (liveCount > 0 ? ", " + liveCount + " online" : "")
    Accessible.selected: isSelected
    Accessible.onPressAction: if (clickable) row.activated(kind, projectID, clientID)

    RowLayout {
        anchors.fill: parent
        anchors.leftMargin: row.indented ? 22 : 8
        anchors.rightMargin: 8
        spacing: 8

        // Client group: the chevron turns when open.
        Icon {
            visible: row.kind === SidebarModel.ClientHeader
            symbol: "chevron.right"
            color: Theme.secondaryText
            size: 10
            rotation: row.expanded ? 90 : 0
            Behavior on rotation { NumberAnimation { duration: 120 } }
        }
        AgentLogoIcon {
            visible: row.isProject
            logoURL: row.logoURL ? row.logoURL : ""
            emoji: row.emoji
            projectName: row.hasProjectIdentity ? row.title : ""
            colorHex: row.colorHex
            side: 18
        }
        Body {
            Layout.fillWidth: true
            text: row.title
            elide: Text.ElideRight
            color: row.kind === SidebarModel.GroupHeader ? Theme.tertiaryText
                 : row.isSelected ? Theme.text : Theme.secondaryText
            font.pointSize: Theme.size(row.kind === SidebarModel.GroupHeader ? "caption" : "body")
            font.weight: row.isSelected || row.kind === SidebarModel.GroupHeader
                         ? Font.DemiBold : Font.Normal
        }
        Body {
            textStyle: "caption"
            visible: !row.isProject
            text: row.count
            color: Theme.tertiaryText
        }
        OnlineDot { visible: row.isProject && count >= 1; count: row.liveCount }
        UnreadBadge { visible: row.isProject && count >= 1; count: row.unreadCount }
    }
    MouseArea {
        id: mouse
        anchors.fill: parent
        enabled: row.clickable
        hoverEnabled: true
        cursorShape: Qt.PointingHandCursor
        onClicked: row.activated(row.kind, row.projectID, row.clientID)
    }
}
