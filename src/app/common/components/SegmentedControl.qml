import QtQuick
import QtQuick.Layouts
import Kestovar

// A choice of a few segments side by side, without a label (the inbox's
// status filter, the stats range).
RowLayout {
    id: bar
    property var labels: []
    property int current: 0
    // Names the control for screen readers, and prefixes each segment's object name.
    property string name: "Filter"
    property string segmentPrefix: "filter"
    signal chosen(int index)
    spacing: 0
    Accessible.role: Accessible.PageTabList
    Accessible.name: name

    Repeater {
        model: bar.labels
        delegate: ActionButton {
            id: segment
            required property int index
            required property string modelData
            objectName: bar.segmentPrefix + modelData.replace(" ", "")
            Layout.fillWidth: true
            Layout.preferredWidth: 1 // every segment as wide as the others
            text: modelData
            // Shown as chosen, never unchosen by a click: choosing it again keeps it.
            checked: index === bar.current
            contentItem: Body {
                text: segment.text
                textStyle: "callout"
                horizontalAlignment: Text.AlignHCenter
                verticalAlignment: Text.AlignVCenter
                elide: Text.ElideRight
                color: segment.checked ? Theme.text : Theme.secondaryText
                font.weight: segment.checked ? Font.DemiBold : Font.Normal
                Accessible.ignored: true
            }
            background: Rectangle {
                implicitHeight: 26
                radius: 6
                color: segment.checked ? Theme.selection
                     : segment.hovered ? Qt.rgba(0.5, 0.5, 0.5, 0.12) : "transparent"
                border.color: segment.checked ? Theme.brandAccent
                            : segment.visualFocus ? Theme.separator : "transparent"
            }
            Accessible.role: Accessible.PageTab
            Accessible.selected: checked
            onClicked: bar.chosen(index)
        }
    }
}
