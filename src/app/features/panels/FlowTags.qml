import QtQuick
import QtQuick.Layouts
import Kestovar

// A conversation's tags on one line.
RowLayout {
    id: flow
    property var tags: []
    // One chip for each entry, kept while a conversation has fewer tags
    // (those past `tags` are hidden): moving between conversations changes
    // their texts in place.
    property var chipRows: tags
    spacing: 4
    clip: true // one line: chips that do not fit are cut off
    Accessible.role: Accessible.StaticText
    Accessible.name: "Tags: " + flow.tags.join(", ")

    Icon { symbol: "tag"; color: Theme.secondaryText; size: 11 }
    Repeater {
        model: flow.chipRows.length
        Rectangle {
            required property int index
            visible: index < flow.tags.length
            readonly property string tag: flow.chipRows[index] ?? ""
            implicitWidth: chip.implicitWidth + 12
            implicitHeight: chip.implicitHeight + 4
            radius: height / 2
            color: Theme.controlBackground
            Body {
                id: chip
                textStyle: "caption2"
                anchors.centerIn: parent
                text: parent.tag
                color: Theme.secondaryText
            }
        }
    }
    Item { Layout.fillWidth: true }
}
