import QtQuick
import Kestovar

// A green dot and the number of visitors online; nothing below 1.
Row {
    property int count: 0
    visible: count >= 1
    spacing: 4
    Accessible.role: Accessible.StaticText
    Accessible.name: count + " online"

    Rectangle {
        width: 6
        height: 6
        radius: 3
        color: Theme.onlineDot
        anchors.verticalCenter: parent.verticalCenter
    }
    Body {
        textStyle: "caption2"
        text: parent.count
        color: Theme.secondaryText
    }
}
