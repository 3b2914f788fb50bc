import QtQuick
import Kestovar

// A symbol from the one icon map, drawn in a colour at a (scaled) size.
IconGlyph {
    id: icon
    property real size: 16
    readonly property real s: size * Theme.fontScale
    implicitWidth: s
    implicitHeight: s
    color: Theme.text
}
