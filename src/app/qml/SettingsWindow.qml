import QtQuick
import QtQuick.Controls
import Kestovar

// The settings window; its tabs arrive with the settings screen.
Window {
    objectName: "settingsWindow"
    title: "Settings"
    width: 620
    height: 520
    minimumWidth: 620
    maximumWidth: 620
    minimumHeight: 520
    maximumHeight: 520
    color: Theme.window

    EmptyStateView {
        anchors.centerIn: parent
        symbol: "⚙"
        title: "Settings"
        message: "Appearance, notifications, snippets and your account will be set here. This window is still being built."
    }
}
