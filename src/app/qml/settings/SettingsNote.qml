import QtQuick
import QtQuick.Layouts
import Kestovar

// An explanation under a setting.
Text {
    Layout.fillWidth: true
    wrapMode: Text.Wrap
    color: Theme.secondaryText
    font.pixelSize: Theme.size("caption")
    Accessible.role: Accessible.StaticText
    Accessible.name: text
}
