import QtQuick
import QtQuick.Layouts
import Kestovar

// "Check for Updates…" and what the last check found, with the newer
// release it offers. Inside the main window it is shown but disabled; the
// settings window may check.
ColumnLayout {
    id: updates
    property bool checksAllowed: false
    spacing: 4

    ActionButton {
        objectName: "checkForUpdates"
        Layout.alignment: Qt.AlignHCenter
        text: "Check for Updates…"
        enabled: updates.checksAllowed && Updater.canCheckForUpdates
        onClicked: Updater.checkForUpdates()
    }
    Body {
        objectName: "updateStatus"
        textStyle: "caption"
        Layout.alignment: Qt.AlignHCenter
        visible: updates.checksAllowed && Updater.status.length > 0
        text: Updater.status
        color: Theme.secondaryText
    }
    // A newer release is offered, not opened: its page opens when asked.
    ActionButton {
        objectName: "downloadUpdate"
        Layout.alignment: Qt.AlignHCenter
        visible: updates.checksAllowed && Updater.availableVersion.length > 0
        symbol: "arrow.down.to.line"
        text: "Download Kestovar " + Updater.availableVersion + "…"
        onClicked: Updater.openReleasePage()
    }
}
