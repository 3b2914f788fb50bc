import QtQuick
import QtQuick.Controls
import QtQuick.Layouts
import Kestovar

// The settings window. Its tabs (appearance, notifications, snippets,
// account) arrive with the settings screen; updates can be checked already.
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

    ColumnLayout {
        anchors.centerIn: parent
        spacing: 12
        EmptyStateView {
            Layout.alignment: Qt.AlignHCenter
            symbol: "⚙"
            title: "Settings"
            message: "Appearance, notifications, snippets and your account will be set here. This window is still being built."
        }
        AboutUpdatesButton {
            Layout.alignment: Qt.AlignHCenter
            checksAllowed: true
        }
    }
}
