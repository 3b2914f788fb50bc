import QtQuick
import QtQuick.Controls
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
        delegate: Button {
            required property int index
            required property string modelData
            objectName: bar.segmentPrefix + modelData.replace(" ", "")
            Layout.fillWidth: true
            text: modelData
            checkable: true
            checked: index === bar.current
            flat: !checked
            highlighted: checked
            font.pixelSize: Theme.size("callout")
            Accessible.role: Accessible.PageTab
            Accessible.name: text
            onClicked: bar.chosen(index)
        }
    }
}
