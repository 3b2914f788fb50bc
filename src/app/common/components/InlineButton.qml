import QtQuick
import Kestovar

// A small text action with a symbol, in a caption line.
Item {
    id: inline
    property string symbol
    property string text
    property color tone: Theme.brandAccent
    property string trailingSymbol
    signal clicked()

    implicitWidth: row.implicitWidth
    implicitHeight: row.implicitHeight + 4
    Accessible.role: Accessible.Button
    Accessible.name: text
    Accessible.onPressAction: inline.clicked()

    Row {
        id: row
        anchors.verticalCenter: parent.verticalCenter
        spacing: 4
        Icon {
            anchors.verticalCenter: parent.verticalCenter
            visible: inline.symbol.length > 0
            symbol: inline.symbol
            color: inline.tone
            size: 11
        }
        Body {
            textStyle: "caption"
            anchors.verticalCenter: parent.verticalCenter
            text: inline.text
            color: inline.tone
            font.underline: mouse.containsMouse
        }
        Icon {
            anchors.verticalCenter: parent.verticalCenter
            visible: inline.trailingSymbol.length > 0
            symbol: inline.trailingSymbol
            color: inline.tone
            size: 8
        }
    }
    MouseArea {
        id: mouse
        anchors.fill: parent
        hoverEnabled: true
        cursorShape: Qt.PointingHandCursor
        onClicked: inline.clicked()
    }
}
