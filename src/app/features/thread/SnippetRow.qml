import QtQuick
import QtQuick.Layouts
import Kestovar

// One snippet in the picker: emoji, shortcut, title and a line of its text.
Rectangle {
    id: row
    objectName: "snippetRow"
    property pickerRow snippet
    property bool isTop: false
    property bool showDivider: false
    signal clicked()

    implicitHeight: content.implicitHeight + 10
    radius: 6
    color: mouse.containsMouse ? Theme.brandAt(0.08) : "transparent"
    Accessible.role: Accessible.ListItem
    Accessible.name: "/" + snippet.shortcut + ", " + snippet.title + (isTop ? ", top match" : "")
    Accessible.onPressAction: row.clicked()

    Rectangle {
        visible: row.showDivider
        anchors.top: parent.top
        anchors.left: parent.left
        anchors.right: parent.right
        height: 1
        color: Theme.separator
    }
    RowLayout {
        id: content
        anchors.fill: parent
        anchors.margins: 5
        spacing: 8
        Body {
            Layout.preferredWidth: 24
            Layout.maximumWidth: 24
            horizontalAlignment: Text.AlignHCenter
            text: row.snippet.emoji
            elide: Text.ElideRight
        }
        ColumnLayout {
            Layout.fillWidth: true
            Layout.minimumWidth: 0
            spacing: 1
            RowLayout {
                Layout.fillWidth: true
                Body {
                    textStyle: "callout"
                    Layout.maximumWidth: Math.min(implicitWidth, 160)
                    text: "/" + row.snippet.shortcut
                    elide: Text.ElideRight
                    color: Theme.brandAccent
                    font.weight: Font.DemiBold
                }
                Body {
                    textStyle: "callout"
                    Layout.fillWidth: true
                    text: row.snippet.title
                    elide: Text.ElideRight
                }
                Body {
                    textStyle: "caption2"
                    visible: row.isTop
                    text: "Top match"
                    color: Theme.secondaryText
                }
            }
            Body {
                textStyle: "caption"
                Layout.fillWidth: true
                text: row.snippet.body
                elide: Text.ElideRight
                maximumLineCount: 1
                color: Theme.secondaryText
            }
        }
    }
    MouseArea {
        id: mouse
        anchors.fill: parent
        hoverEnabled: true
        cursorShape: Qt.PointingHandCursor
        onClicked: row.clicked()
    }
}
