import QtQuick
import Kestovar

// The one main window.
ThemedWindow {
    id: window
    objectName: "mainWindow"
    title: "Kestovar"
    // The size it opens at, never larger than the screen's free area (a
    // 1366 × 768 laptop with a panel), room kept for the title bar.
    readonly property int frameAllowance: 40
    width: Math.min(1280, Screen.desktopAvailableWidth)
    height: Math.min(820, Screen.desktopAvailableHeight - frameAllowance)
    minimumWidth: Math.min(1100, Screen.desktopAvailableWidth)
    minimumHeight: Math.min(600, Screen.desktopAvailableHeight - frameAllowance)

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
    Shortcut {
        sequence: StandardKey.Quit
        onActivated: Desktop.quit()
    }
}
