import QtQuick
import Kestovar

// The one line that says why something the operator fired and forgot did
// not work (a resolve, a translation, a mute, a snippet deleted). It lies
// over the screen, goes by itself after a while, and the cross sends it
// away at once.
Rectangle {
    id: notice
    objectName: "noticeBanner"
    readonly property string message: AppState.notices.text
    visible: message !== ""
    implicitHeight: strip.implicitHeight
    implicitWidth: 480
    radius: 8
    color: Theme.surface
    border.color: Theme.tint(Theme.orange, 0.45)
    clip: true
    Accessible.role: Accessible.AlertMessage
    Accessible.name: message

    Banner {
        id: strip
        anchors.fill: parent
        radius: notice.radius
        symbol: "exclamationmark.triangle.fill"
        tone: Theme.orange
        text: notice.message
        Accessible.ignored: true
        IconButton {
            objectName: "noticeDismiss"
            symbol: "xmark"
            tip: "Dismiss"
            Accessible.name: "Dismiss"
            onClicked: AppState.notices.dismiss()
        }
    }
}
