import QtQuick
import QtQuick.Layouts
import Kestovar

// First-time or returning, with the visit's ordinal.
RowLayout {
    id: indicator
    property string symbol
    property string text
    spacing: 4
    Accessible.role: Accessible.StaticText
    Accessible.name: text

    Icon {
        symbol: indicator.symbol
        color: Theme.secondaryText
        size: 11
    }
    Body {
        textStyle: "caption"
        Layout.fillWidth: true
        elide: Text.ElideRight
        text: indicator.text
        color: Theme.secondaryText
    }
}
