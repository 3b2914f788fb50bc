import QtQuick
import QtQuick.Layouts
import Kestovar

// "Check for Updates…" and what the last check found. Inside the main
// window it is shown but disabled; the settings window may check.
ColumnLayout {
    property bool checksAllowed: false
    spacing: 4

    ActionButton {
        objectName: "checkForUpdates"
        Layout.alignment: Qt.AlignHCenter
        text: "Check for Updates…"
        enabled: parent.checksAllowed && Updater.canCheckForUpdates
        onClicked: Updater.checkForUpdates()
    }
    Body {
        objectName: "updateStatus"
        textStyle: "caption"
        Layout.alignment: Qt.AlignHCenter
        visible: parent.checksAllowed && Updater.status.length > 0
        text: Updater.status
        color: Theme.secondaryText
    }
}
