import QtQuick
import Kestovar

// The screen of the selected section. Each is built when it is chosen, so
// a screen appears fresh (and loads afresh) every time it is shown. The
// screens are named by address rather than as types: a type named here would
// be compiled with the window, and the first frame needs only the inbox.
Item {
    id: area
    objectName: "contentArea"

    Loader {
        anchors.fill: parent
        source: {
            switch (AppState.selectedSection) {
            case AppSection.Visitors: return "../features/visitors/LiveVisitorsView.qml"
            case AppSection.Stats: return "../features/stats/StatsView.qml"
            case AppSection.Settings: return "../features/settings/SettingsScreen.qml"
            default: return "../features/inbox/InboxView.qml"
            }
        }
    }
}
