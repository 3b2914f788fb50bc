import QtQuick
import Kestovar

// Why a screen's last load failed, over what it still shows, with a way to
// try again. `status` is the screen's view-model: every one that loads has
// `loading`, `error` (empty: the last load did not fail) and `retry()`.
Banner {
    id: banner
    property var status
    // The Retry button's object name, for tests and scripts.
    property string retryName: objectName + "Retry"
    visible: !!status && status.error !== ""
    symbol: "exclamationmark.triangle.fill"
    tone: Theme.orange
    text: status ? status.error : ""
    Accessible.role: Accessible.AlertMessage
    ActionButton {
        objectName: banner.retryName
        text: "Retry"
        enabled: !!banner.status && !banner.status.loading
        onClicked: banner.status.retry()
    }
}
