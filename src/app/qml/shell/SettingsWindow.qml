import QtQuick
import Kestovar

// The settings window, from the tray and Ctrl+,: the same tabs as the
// Settings section, and the one place updates may be checked.
ThemedWindow {
    objectName: "settingsWindow"
    title: "Settings"
    width: 620
    height: 520
    minimumWidth: 620
    maximumWidth: 620
    minimumHeight: 520
    maximumHeight: 520

    SettingsView {
        anchors.fill: parent
        checksAllowed: true
    }
}
