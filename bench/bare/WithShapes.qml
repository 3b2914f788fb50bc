import QtQuick
import QtQuick.Shapes

// The floor with one curve drawn by Qt Quick Shapes (what the stats chart uses).
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
    Shape {
        x: 600; y: 100; width: 400; height: 200
        ShapePath {
            strokeColor: "#5b6bff"
            fillColor: "transparent"
            startX: 0; startY: 200
            PathCubic { x: 400; y: 0; control1X: 150; control1Y: 200; control2X: 250; control2Y: 0 }
        }
    }
}
