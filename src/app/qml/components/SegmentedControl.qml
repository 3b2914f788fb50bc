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
            required property int index
            required property string modelData
            objectName: bar.segmentPrefix + modelData.replace(" ", "")
            Layout.fillWidth: true
            text: modelData
            // Shown as chosen, never unchosen by a click: choosing it again keeps it.
            checked: index === bar.current
            flat: !checked
            highlighted: checked
            Accessible.role: Accessible.PageTab
            Accessible.selected: checked
            onClicked: bar.chosen(index)
        }
    }
}
