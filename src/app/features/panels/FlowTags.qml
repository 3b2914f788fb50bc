import QtQuick
import Kestovar

// A conversation's tags on one line, within the width it is given: a chip
// that does not fit whole is left out rather than cut (the line's name still
// reads every tag).
Item {
    id: flow
    property var tags: []
    // One chip for each entry, kept while a conversation has fewer tags
    // (those past `tags` are hidden): moving between conversations changes
    // their texts in place.
    property var chipRows: tags
    // Chips stand in a row, not a layout: a layout would take their whole
    // width as its least and push past the card.
    implicitHeight: row.implicitHeight
    clip: true
    Accessible.role: Accessible.StaticText
    Accessible.name: "Tags: " + flow.tags.join(", ")

    Row {
        id: row
        spacing: 4
        Icon {
            anchors.verticalCenter: parent.verticalCenter
            symbol: "tag"
            color: Theme.secondaryText
            size: 11
        }
        Repeater {
            model: flow.chipRows.length
            Rectangle {
                id: chipBox
                required property int index
                readonly property bool fits: x + width <= flow.width
                visible: index < flow.tags.length
                // Left out by opacity: hiding it would move the next chips up
                // into its place, and whether they fit would follow that.
                opacity: fits ? 1 : 0
                readonly property string tag: flow.chipRows[index] ?? ""
                anchors.verticalCenter: parent.verticalCenter
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
                    Accessible.ignored: !chipBox.fits
                }
            }
        }
    }
}
