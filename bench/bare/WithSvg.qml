import QtQuick

// The floor with one SVG icon (the image plugin and Qt Svg load with it).
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
    Image {
        x: 600; y: 100; width: 64; height: 64
        sourceSize: Qt.size(64, 64)
        source: "qrc:/bare/icon.svg"
    }
}
