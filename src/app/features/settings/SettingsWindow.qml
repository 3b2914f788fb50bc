import QtQuick
import Kestovar

// The settings window, from the tray and Ctrl+,: the same tabs as the
// Settings section, and the one place updates may be checked.
ThemedWindow {
    objectName: "settingsWindow"
    // Which tab shows (the tray's "Check for Updates…" asks for About).
    property alias currentTab: view.currentTab
    title: "Settings"
    width: 620
    height: 520
    minimumWidth: 620
    maximumWidth: 620
    minimumHeight: 520
    maximumHeight: 520

    SettingsView {
        id: view
        anchors.fill: parent
        checksAllowed: true
    }

    NoticeBanner {
        anchors.horizontalCenter: parent.horizontalCenter
        anchors.bottom: parent.bottom
        anchors.bottomMargin: 12
        width: parent.width - 32
        z: 10
    }
}
