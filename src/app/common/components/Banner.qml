import QtQuick
import QtQuick.Layouts
import Kestovar

// A symbol and a line of text on a tinted strip.
Rectangle {
    id: banner
    property string symbol
    property color tone: Theme.green
    property string text
    // Actions at the end of the strip.
    default property alias actions: actionRow.data
    implicitHeight: row.implicitHeight + 24
    color: Theme.tint(tone, 0.08)
    Accessible.role: Accessible.StaticText
    Accessible.name: text

    RowLayout {
        id: row
        anchors.fill: parent
        anchors.margins: 12
        spacing: 10
        Icon { symbol: banner.symbol; color: banner.tone; size: 18 }
        Body {
            textStyle: "callout"
            Layout.fillWidth: true
            text: banner.text
            wrapMode: Text.WordWrap
        }
        RowLayout { id: actionRow; spacing: 6 }
    }
}
