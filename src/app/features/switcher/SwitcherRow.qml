import QtQuick
import QtQuick.Layouts
import Kestovar

// One result: its symbol, its text with the matched letters marked, and a
// second line. Reads to a screen reader as its kind and its text.
Rectangle {
    id: row
    required property int index
    required property string accessibleName
    required property string symbol
    required property var titleSegments
    required property var detailSegments
    property bool current: false
    signal chosen(int row)

    implicitHeight: lines.implicitHeight + 12
    radius: 6
    color: current ? Theme.selection : (pointer.containsMouse ? Theme.controlBackground : "transparent")
    Accessible.role: Accessible.ListItem
    Accessible.name: accessibleName
    Accessible.selected: current
    Accessible.onPressAction: row.chosen(row.index)

    // A mouse area, not pointer handlers: rows are made anew at every
    // keystroke, and Qt 6.4 keeps a hovering pointer's handlers listed after
    // they are gone, so that list grows while the pointer rests on the window.
    MouseArea {
        id: pointer
        anchors.fill: parent
        hoverEnabled: true
        onClicked: row.chosen(row.index)
    }

    RowLayout {
        anchors.fill: parent
        anchors.leftMargin: 8
        anchors.rightMargin: 8
        spacing: 10
        Icon {
            symbol: row.symbol
            color: Theme.secondaryText
            size: 14
        }
        ColumnLayout {
            id: lines
            Layout.fillWidth: true
            spacing: 1
            MarkedText {
                Layout.fillWidth: true
                segments: row.titleSegments
                textStyle: "body"
            }
            MarkedText {
                Layout.fillWidth: true
                visible: row.detailSegments.length > 0
                segments: row.detailSegments
                textStyle: "footnote"
                tone: Theme.secondaryText
            }
        }
    }
}
