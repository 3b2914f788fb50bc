import QtQuick
import QtQuick.Controls

// The yardstick: a bare Qt Quick window with a 50-row list.
ApplicationWindow {
    width: 1280
    height: 820
    visible: true
    ListView {
        anchors.fill: parent
        model: 50
        delegate: ItemDelegate {
            width: ListView.view.width
            text: "Row " + index
        }
    }
}
