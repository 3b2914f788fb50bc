import QtQuick
import QtQuick.Layouts
import Kestovar

// One key figure: what it counts, the figure, and its change when there is one.
Rectangle {
    id: card
    property string title
    property string value
    property string delta
    property bool deltaRises: false

    implicitHeight: column.implicitHeight + 28
    radius: 12
    color: Theme.surface
    border.color: Theme.separator
    Accessible.role: Accessible.StaticText
    Accessible.name: title + ": " + value + (delta ? ", " + delta : "")

    ColumnLayout {
        id: column
        anchors.left: parent.left
        anchors.right: parent.right
        anchors.top: parent.top
        anchors.margins: 14
        spacing: 4
        Body {
            textStyle: "subheadline"
            Layout.fillWidth: true
            text: card.title
            elide: Text.ElideRight
            color: Theme.secondaryText
        }
        Body {
            objectName: "kpiValue"
            Layout.fillWidth: true
            text: card.value
            elide: Text.ElideRight
            font.pointSize: Theme.size(28)
            font.weight: Font.DemiBold
        }
        Body {
            textStyle: "caption"
            Layout.fillWidth: true
            visible: card.delta.length > 0
            text: card.delta
            color: card.deltaRises ? Theme.onlineDot : Theme.secondaryText
            font.weight: Font.Medium
        }
    }
}
