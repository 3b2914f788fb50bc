import QtQuick
import Kestovar

// The unread count on a brand capsule; nothing below 1.
Rectangle {
    property int count: 0
    visible: count >= 1
    implicitWidth: visible ? Math.max(label.implicitWidth + 12, height) : 0
    implicitHeight: label.implicitHeight + 4
    radius: height / 2
    color: Theme.brand
    Accessible.role: Accessible.StaticText
    Accessible.name: count + " unread"

    Body {
        id: label
        textStyle: "caption2"
        anchors.centerIn: parent
        text: parent.count
        color: "white"
        font.weight: Font.DemiBold
    }
}
