import QtQuick
import QtQuick.Controls
import Kestovar

// The one main window.
ApplicationWindow {
    id: window
    objectName: "mainWindow"
    title: "Kestovar"
    width: 1280
    height: 820
    minimumWidth: 1100
    minimumHeight: 600
    color: Theme.window
    palette.window: Theme.window
    palette.windowText: Theme.text
    palette.base: Theme.surface
    palette.text: Theme.text
    palette.button: Theme.surface
    palette.buttonText: Theme.text
    palette.highlight: Theme.brandAccent

    RootView {
        anchors.fill: parent
    }
}
