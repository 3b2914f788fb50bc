import QtQuick
import QtQuick.Controls
import QtQuick.Layouts
import Kestovar

// The status filter: one segment per filter, in their order, without a label.
RowLayout {
    id: bar
    property var labels: []
    property int current: 0
    signal chosen(int index)
    spacing: 0
    Accessible.role: Accessible.PageTabList
    Accessible.name: "Filter"

    Repeater {
        model: bar.labels
        delegate: Button {
            required property int index
            required property string modelData
            objectName: "filter" + modelData.replace(" ", "")
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
