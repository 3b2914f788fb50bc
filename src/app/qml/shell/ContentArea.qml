import QtQuick
import Kestovar

// The screen of the selected section.
Item {
    id: area
    objectName: "contentArea"

    Loader {
        anchors.fill: parent
        sourceComponent: AppState.selectedSection === Kinds.inbox ? inbox : placeholder
    }
    Component {
        id: inbox
        InboxView {}
    }
    Component {
        id: placeholder
        Rectangle {
            color: Theme.window
            readonly property var screens: ({
                [Kinds.visitors]: ["Live Visitors", "person.2.wave.2.fill", "Visitors browsing your websites right now appear here."],
                [Kinds.stats]: ["Stats", "chart.line.uptrend.xyaxis", "Conversations, messages and ratings over 7, 30 or 90 days appear here."],
                [Kinds.settings]: ["Settings", "gearshape.fill", "Appearance, notifications, snippets and your account appear here."]
            })
            readonly property var screen: screens[AppState.selectedSection] || screens[Kinds.visitors]
            ContentHeader {
                anchors.left: parent.left
                anchors.right: parent.right
                anchors.top: parent.top
                title: parent.screen[0]
            }
            EmptyStateView {
                id: placeholderText
                anchors.centerIn: parent
                symbol: parent.screen[1]
                title: parent.screen[0]
                message: parent.screen[2] + " (This screen is still being built.)"
            }
            AboutUpdatesButton {
                anchors.top: placeholderText.bottom
                anchors.topMargin: 20
                anchors.horizontalCenter: parent.horizontalCenter
                visible: AppState.selectedSection === Kinds.settings
                checksAllowed: false
            }
        }
    }
}
