import QtQuick
import Kestovar

// An agent's logo, or a tile with its initials (or emoji) while none is shown;
// both clipped to the same rounded square.
Item {
    id: projectLogo
    property url logoURL
    property string emoji: "🤖"
    property string projectName
    property var colorHex
    property real side: 24
    readonly property real s: side * Theme.fontScale
    readonly property real corner: 0.24 * s
    // Only a web address is fetched: never a local file or another scheme.
    readonly property url source: ProjectLook.logoSource(logoURL)
    readonly property bool hasName: projectName.length > 0
    implicitWidth: s
    implicitHeight: s
    Accessible.role: Accessible.Graphic
    Accessible.name: projectName || emoji

    Rectangle {
        anchors.fill: parent
        radius: projectLogo.corner
        color: projectLogo.hasName ? (ProjectLook.color(projectLogo.colorHex) || "#6366F1") : "transparent"
        visible: !canvas.active

        Body {
            anchors.fill: parent
            horizontalAlignment: Text.AlignHCenter
            verticalAlignment: Text.AlignVCenter
            text: projectLogo.hasName ? ProjectLook.initials(projectLogo.projectName) : projectLogo.emoji
            color: "white"
            font.pointSize: Theme.size(projectLogo.side * (projectLogo.hasName ? 0.55 : 0.72))
            font.weight: Font.DemiBold
            // The emoji may shrink to fit its tile's width.
            fontSizeMode: projectLogo.hasName ? Text.FixedSize : Text.HorizontalFit
            Accessible.ignored: true
        }
    }
    // Loads the logo (and says when it is there); the canvas draws it rounded.
    // Most agents have no logo, so the canvas is made only once one is loaded.
    Image {
        id: logo
        visible: false
        source: projectLogo.source
        asynchronous: true
    }
    Loader {
        id: canvas
        anchors.fill: parent
        active: logo.status === Image.Ready && logo.implicitWidth > 0
        sourceComponent: Canvas {
            onWidthChanged: requestPaint()
            onHeightChanged: requestPaint()
            Component.onCompleted: requestPaint()
            onPaint: {
                const ctx = getContext("2d")
                ctx.reset()
                // Fills the square, cropping the longer side, as a photo in a frame.
                const scale = Math.max(width / logo.implicitWidth, height / logo.implicitHeight)
                const sw = width / scale
                const sh = height / scale
                ctx.beginPath()
                ctx.roundedRect(0, 0, width, height, projectLogo.corner, projectLogo.corner)
                ctx.clip()
                ctx.drawImage(logo, (logo.implicitWidth - sw) / 2, (logo.implicitHeight - sh) / 2,
                              sw, sh, 0, 0, width, height)
            }
        }
    }
}
