import QtQuick
import QtQuick.Layouts
import Kestovar

// The screen of the selected section. Each is built when it is chosen, so
// a screen appears fresh (and loads afresh) every time it is shown.
Item {
    id: area
    objectName: "contentArea"

    Loader {
        anchors.fill: parent
        sourceComponent: {
            switch (AppState.selectedSection) {
            case AppSection.Visitors: return visitors
            case AppSection.Stats: return stats
            case AppSection.Settings: return settings
            default: return inbox
            }
        }
    }
    Component {
        id: inbox
        InboxView {}
    }
    Component {
        id: visitors
        LiveVisitorsView {}
    }
    Component {
        id: stats
        StatsView {}
    }
    Component {
        id: settings
        ColumnLayout {
            spacing: 0
            ContentHeader {
                Layout.fillWidth: true
                title: "Settings"
                showAgentContext: false
            }
            SettingsView {
                Layout.fillWidth: true
                Layout.fillHeight: true
                checksAllowed: false
            }
        }
    }
}
