import QtQuick
import QtQuick.Layouts
import Kestovar

// A conversation's tags on one line.
RowLayout {
    id: flow
    property var tags: []
    // Chips once made are kept, hidden while a conversation has fewer tags:
    // moving between conversations changes their texts in place.
    property int chipsMade: 0
    onTagsChanged: chipsMade = Math.max(chipsMade, tags.length)
    Component.onCompleted: chipsMade = Math.max(chipsMade, tags.length)
    spacing: 4
    clip: true // one line: chips that do not fit are cut off
    Accessible.role: Accessible.StaticText
    Accessible.name: "Tags: " + flow.tags.join(", ")

    Icon { symbol: "tag"; color: Theme.secondaryText; size: 11 }
    Repeater {
        model: flow.chipsMade
        Rectangle {
            required property int index
            visible: index < flow.tags.length
            readonly property string tag: flow.tags[index] ?? ""
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
