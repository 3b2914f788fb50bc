import QtQuick

// The floor of the module table: Qt Quick alone, a window with a 50-row list of texts.
Window {
    width: 1280
    height: 820
    visible: true
    ListView {
        anchors.fill: parent
        model: 50
        delegate: Text {
            required property int index
            width: ListView.view.width
            padding: 10
            text: "Row " + index
        }
    }
}
