import QtQuick
import QtQuick.Layouts
import Kestovar

// The title line of a content screen.
RowLayout {
    property string title
    property string subtitle
    spacing: 8

    Text {
        text: parent.title
        color: Theme.text
        font.pixelSize: Theme.size("title2")
        font.weight: Font.DemiBold
        Accessible.role: Accessible.Heading
    }
    Text {
        visible: parent.subtitle.length > 0
        text: parent.subtitle
        color: Theme.secondaryText
        font.pixelSize: Theme.size("callout")
    }
    Item { Layout.fillWidth: true }
}
