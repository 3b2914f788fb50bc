import QtQuick
import QtQuick.Layouts
import Kestovar

// The snippets a "/" command matches: the first six, the top match first.
Rectangle {
    id: picker
    objectName: "snippetPicker"
    property string matchCount
    property var rows: []
    signal picked(int row)

    implicitHeight: column.implicitHeight + 12
    radius: 8
    color: Theme.textBackground
    border.color: Theme.separator
    Accessible.role: Accessible.List
    Accessible.name: "Snippets, " + matchCount

    ColumnLayout {
        id: column
        anchors.fill: parent
        anchors.margins: 6
        spacing: 2
        RowLayout {
            id: header
            Layout.leftMargin: 6
            Icon { symbol: "command"; color: Theme.secondaryText; size: 11 }
            Body {
                textStyle: "caption"
                text: "Snippets"
                color: Theme.secondaryText
                font.weight: Font.DemiBold
            }
            Body {
                objectName: "snippetMatchCount"
                textStyle: "caption"
                text: picker.matchCount
                color: Theme.tertiaryText
            }
        }
        Flickable {
            Layout.fillWidth: true
            Layout.preferredHeight: Math.min(rowsColumn.implicitHeight, 220)
            clip: true
            contentHeight: rowsColumn.implicitHeight
            interactive: contentHeight > height
            Column {
                id: rowsColumn
                width: parent.width
                Repeater {
                    model: picker.rows
                    delegate: SnippetRow {
                        required property int index
                        required property pickerRow modelData
                        width: rowsColumn.width
                        snippet: modelData
                        isTop: index === 0
                        showDivider: index > 0
                        onClicked: picker.picked(index)
                    }
                }
            }
        }
    }
}
