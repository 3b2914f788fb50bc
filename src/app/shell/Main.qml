import QtQuick
import Kestovar

// The one main window.
ThemedWindow {
    id: window
    objectName: "mainWindow"
    title: "Kestovar"
    width: 1280
    height: 820
    minimumWidth: 1100
    minimumHeight: 600

    RootView {
        anchors.fill: parent
    }

    // Ctrl+1 … Ctrl+4: the four sections; Ctrl+,: the settings window.
    Shortcut {
        sequence: "Ctrl+1"
        onActivated: AppState.selectedSection = AppSection.Inbox
    }
    Shortcut {
        sequence: "Ctrl+2"
        onActivated: AppState.selectedSection = AppSection.Visitors
    }
    Shortcut {
        sequence: "Ctrl+3"
        onActivated: AppState.selectedSection = AppSection.Stats
    }
    Shortcut {
        sequence: "Ctrl+4"
        onActivated: AppState.selectedSection = AppSection.Settings
    }
    Shortcut {
        sequence: "Ctrl+,"
        onActivated: Desktop.openSettings()
    }
}
