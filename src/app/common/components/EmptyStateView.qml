import QtQuick
import QtQuick.Layouts
import Kestovar

// A calm centred message where a list or pane has nothing to show.
ColumnLayout {
    id: empty
    property string symbol
    property string title
    property string message
    spacing: 8
    Accessible.role: Accessible.StaticText
    Accessible.name: title + (message ? ". " + message : "")

    Icon {
        Layout.alignment: Qt.AlignHCenter
        visible: empty.symbol.length > 0
        symbol: empty.symbol
        color: Theme.tertiaryText
        size: 36
    }
    Body {
        textStyle: "headline"
        Layout.alignment: Qt.AlignHCenter
        Layout.maximumWidth: empty.width > 0 ? empty.width : 380
        wrapMode: Text.WordWrap
        horizontalAlignment: Text.AlignHCenter
        text: empty.title
        font.weight: Font.DemiBold
    }
    Body {
        textStyle: "subheadline"
        Layout.alignment: Qt.AlignHCenter
        Layout.maximumWidth: empty.width > 0 ? Math.min(380, empty.width) : 380
        visible: empty.message.length > 0
        text: empty.message
        color: Theme.secondaryText
        wrapMode: Text.WordWrap
        horizontalAlignment: Text.AlignHCenter
    }
}
