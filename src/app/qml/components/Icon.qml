import QtQuick
import Kestovar
import "../icons/Icons.js" as Icons

// A symbol from the one icon map, drawn in a colour at a (scaled) size.
Item {
    property string symbol
    property color color: Theme.text
    property real size: 16
    readonly property real s: size * Theme.fontScale
    implicitWidth: s
    implicitHeight: s
    Accessible.ignored: true

    Image {
        anchors.fill: parent
        sourceSize: Qt.size(parent.s * 2, parent.s * 2)
        source: Icons.url(parent.symbol, parent.color)
        fillMode: Image.PreserveAspectFit
        smooth: true
    }
}
