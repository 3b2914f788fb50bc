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

    // Every shortcut from the one table; the sheet lists the same entries.
    Repeater {
        model: Shortcuts.entries
        delegate: Item {
            id: entry
            required property var modelData
            Shortcut {
                sequences: entry.modelData.keys
                onActivated: Shortcuts.activate(entry.modelData.action)
            }
        }
    }
    // The two dialogs are made each time they open and go when they close:
    // most sessions never open them, and each opens afresh. Named by address,
    // they are not even compiled until then.
    Loader {
        active: Shortcuts.sheetOpen
        source: "ShortcutsSheet.qml"
    }
    Loader {
        active: Shortcuts.switcherOpen
        source: "../features/switcher/QuickSwitcher.qml"
    }
}
