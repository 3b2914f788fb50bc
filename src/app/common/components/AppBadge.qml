import QtQuick
import Kestovar

// Kestovar's own icon, as the sign-in screen and the About tab show it.
Image {
    property real side: 72
    width: side
    height: side
    source: "qrc:/Kestovar/appicon/app.svg"
    sourceSize.width: side * 2
    sourceSize.height: side * 2
    smooth: true
    Accessible.role: Accessible.Graphic
    Accessible.name: "Kestovar"
}
