import QtQuick
import QtQuick.Controls
import QtQuick.Layouts
import Kestovar

// The preferences: account and appearance, notifications, snippets, about.
// Shown in the settings window and as the main window's Settings section.
ColumnLayout {
    id: view
    objectName: "settingsView"
    // Only the settings window checks for updates.
    property bool checksAllowed: false
    property alias currentTab: tabs.currentIndex
    spacing: 0

    Connections {
        target: Desktop
        function onSettingsTabRequested(index) { tabs.currentIndex = index }
    }
    TabBar {
        id: tabs
        objectName: "settingsTabs"
        Layout.fillWidth: true
        Accessible.name: "Settings"
        Repeater {
            model: [["Account", "person.circle"], ["Notifications", "bell.badge"],
                    ["Snippets", "text.bubble"], ["About", "info.circle"]]
            TabItem {
                required property var modelData
                objectName: "tab" + modelData[0]
                text: modelData[0]
                symbol: modelData[1]
            }
        }
    }
    // Each tab is built the first time it is shown, and kept while the view lives.
    StackLayout {
        id: pages
        Layout.fillWidth: true
        Layout.fillHeight: true
        currentIndex: tabs.currentIndex
        Repeater {
            model: [account, notifications, snippets, about]
            KeptLoader {
                required property var modelData
                required property int index
                sourceComponent: modelData
                wanted: index === pages.currentIndex
            }
        }
    }
    Component { id: account; AccountTab {} }
    Component { id: notifications; NotificationsTab {} }
    Component { id: snippets; SnippetsTab {} }
    Component { id: about; AboutTab { checksAllowed: view.checksAllowed } }
}
