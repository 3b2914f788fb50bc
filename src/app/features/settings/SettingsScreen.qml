import QtQuick
import QtQuick.Layouts
import Kestovar

// Settings as a section of the main window: the settings pages under the
// section's header. Account checks are left to the settings window.
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
