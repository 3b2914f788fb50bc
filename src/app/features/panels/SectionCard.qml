import QtQuick
import QtQuick.Layouts
import Kestovar

// A titled card of a side panel.
Rectangle {
    id: card
    property string title
    property color accent: Theme.secondaryText
    default property alias content: body.data

    implicitHeight: column.implicitHeight + 20
    radius: 10
    color: Theme.surface
    border.color: Theme.separator
    Accessible.role: Accessible.Grouping
    Accessible.name: title

    Rectangle {
        anchors.left: parent.left
        anchors.top: parent.top
        anchors.bottom: parent.bottom
        anchors.margins: 1
        width: 3
        radius: 1.5
        color: card.accent
        opacity: 0.6
    }
    ColumnLayout {
        id: column
        anchors.fill: parent
        anchors.margins: 10
        anchors.leftMargin: 12
        spacing: 8
        Heading {
            textStyle: "caption"
            text: card.title.toUpperCase()
            color: Theme.tertiaryText
            font.letterSpacing: 0.6
            Accessible.name: card.title
        }
        ColumnLayout {
            id: body
            Layout.fillWidth: true
            spacing: 6
        }
    }
}
