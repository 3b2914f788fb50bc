import QtQuick
import Kestovar

// A series' colour and name beside a chart's title.
Row {
    property color tone
    property string text
    spacing: 5
    Accessible.role: Accessible.StaticText
    Accessible.name: text
    Rectangle {
        anchors.verticalCenter: parent.verticalCenter
        width: 8
        height: 8
        radius: 4
        color: parent.tone
    }
    Body {
        textStyle: "caption"
        anchors.verticalCenter: parent.verticalCenter
        text: parent.text
        color: Theme.secondaryText
    }
}
