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
        onActivated: AppState.selectedSection = Kinds.inbox
    }
    Shortcut {
        sequence: "Ctrl+2"
        onActivated: AppState.selectedSection = Kinds.visitors
    }
    Shortcut {
        sequence: "Ctrl+3"
        onActivated: AppState.selectedSection = Kinds.stats
    }
    Shortcut {
        sequence: "Ctrl+4"
        onActivated: AppState.selectedSection = Kinds.settings
    }
    Shortcut {
        sequence: "Ctrl+,"
        onActivated: Desktop.openSettings()
    }
}
