import QtQuick
import QtQuick.Layouts
import Kestovar

// A card of the stats screen: a title and what it holds.
Rectangle {
    id: card
    property string title
    default property alias content: body.data
    property alias trailing: trailingRow.data

    implicitHeight: column.implicitHeight + 32
    implicitWidth: column.implicitWidth + 32
    radius: 12
    color: Theme.surface
    border.color: Theme.separator
    Accessible.role: Accessible.Grouping
    Accessible.name: title

    ColumnLayout {
        id: column
        anchors.fill: parent
        anchors.margins: 16
        spacing: 10
        RowLayout {
            Layout.fillWidth: true
            visible: card.title.length > 0
            Heading {
                Layout.fillWidth: true
                text: card.title
            }
            RowLayout { id: trailingRow; spacing: 12 }
        }
        ColumnLayout {
            id: body
            Layout.fillWidth: true
            Layout.fillHeight: true
            spacing: 8
        }
    }
}
