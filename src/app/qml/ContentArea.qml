import QtQuick
import Kestovar

// The screen of the selected section. Each is a titled placeholder until its screen lands.
Rectangle {
    objectName: "contentArea"
    color: Theme.window

    readonly property var screens: ({
        [Kinds.inbox]: ["Inbox", "📥", "Conversations of the selected agent appear here."],
        [Kinds.visitors]: ["Live Visitors", "🌐", "Visitors browsing your websites right now appear here."],
        [Kinds.stats]: ["Stats", "📊", "Conversations, messages and ratings over 7, 30 or 90 days appear here."],
        [Kinds.settings]: ["Settings", "⚙", "Appearance, notifications, snippets and your account appear here."]
    })
    readonly property var screen: screens[AppState.selectedSection] || screens[Kinds.inbox]

    ContentHeader {
        id: header
        objectName: "contentTitle"
        anchors.left: parent.left
        anchors.right: parent.right
        anchors.top: parent.top
        anchors.margins: 20
        title: parent.screen[0]
    }
    EmptyStateView {
        id: placeholder
        anchors.centerIn: parent
        symbol: parent.screen[1]
        title: parent.screen[0]
        message: parent.screen[2] + " (This screen is still being built.)"
    }
    AboutUpdatesButton {
        anchors.top: placeholder.bottom
        anchors.topMargin: 20
        anchors.horizontalCenter: parent.horizontalCenter
        visible: AppState.selectedSection === Kinds.settings
        checksAllowed: false
    }
}
