import QtQuick
import QtQuick.Layouts
import Kestovar

// A calm centred message where a list has nothing to show.
ColumnLayout {
    property string symbol: "💬"
    property string title
    property string message
    spacing: 8

    Text {
        Layout.alignment: Qt.AlignHCenter
        text: parent.symbol
        font.pixelSize: 36 * Theme.fontScale
        Accessible.ignored: true
    }
    Text {
        Layout.alignment: Qt.AlignHCenter
        text: parent.title
        color: Theme.text
        font.pixelSize: Theme.size("title3")
        font.weight: Font.DemiBold
    }
    Text {
        Layout.alignment: Qt.AlignHCenter
        Layout.maximumWidth: 420
        text: parent.message
        color: Theme.secondaryText
        font.pixelSize: Theme.size("callout")
        wrapMode: Text.WordWrap
        horizontalAlignment: Text.AlignHCenter
    }
}
