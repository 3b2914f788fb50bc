import QtQuick
import QtQuick.Layouts
import Kestovar

// One titled group of settings on a rounded background.
ColumnLayout {
    id: section
    property string title
    default property alias content: body.data
    spacing: 6
    Accessible.role: Accessible.Grouping
    Accessible.name: title

    Heading {
        textStyle: "callout"
        text: section.title
        color: Theme.secondaryText
    }
    Rectangle {
        Layout.fillWidth: true
        implicitHeight: body.implicitHeight + 24
        radius: 10
        color: Theme.surface
        border.color: Theme.separator
        ColumnLayout {
            id: body
            anchors.fill: parent
            anchors.margins: 12
            spacing: 8
        }
    }
}
