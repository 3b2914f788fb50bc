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
    Repeater {
        model: flow.tags
        Rectangle {
            required property string modelData
            implicitWidth: chip.implicitWidth + 12
            implicitHeight: chip.implicitHeight + 4
            radius: height / 2
            color: Theme.controlBackground
            Body {
                id: chip
                textStyle: "caption2"
                anchors.centerIn: parent
                text: parent.modelData
                color: Theme.secondaryText
            }
        }
    }
    Item { Layout.fillWidth: true }
}
