import QtQuick
import QtQuick.Layouts
import Kestovar

// A conversation's tags on one line.
RowLayout {
    id: flow
    property var tags: []
    spacing: 4
    clip: true // one line: chips that do not fit are cut off
    Accessible.role: Accessible.StaticText
    Accessible.name: "Tags: " + flow.tags.join(", ")

    Icon { symbol: "tag"; color: Theme.secondaryText; size: 11 }
    // By count: another conversation with as many tags changes the chips' texts in place.
    Repeater {
        model: flow.tags.length
        Rectangle {
            required property int index
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
