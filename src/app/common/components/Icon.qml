import QtQuick
import Kestovar

// A symbol from the one icon map, drawn in a colour at a (scaled) size.
Item {
    id: icon
    property string symbol
    property color color: Theme.text
    property real size: 16
    readonly property real s: size * Theme.fontScale
    implicitWidth: s
    implicitHeight: s
    Accessible.ignored: true

    Image {
        anchors.fill: parent
        sourceSize.width: icon.s * 2
        sourceSize.height: icon.s * 2
        source: Icons.url(icon.symbol, icon.color)
        fillMode: Image.PreserveAspectFit
        smooth: true
    }
}
