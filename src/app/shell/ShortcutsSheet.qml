import QtQuick
import QtQuick.Controls
import QtQuick.Layouts
import Kestovar

// "Keyboard shortcuts": every entry of the shortcut table, keys beside what
// they do. Ctrl+/ or the account menu opens it; Escape or Close closes it.
Popup {
    id: sheet
    objectName: "shortcutsSheet"
    parent: Overlay.overlay
    anchors.centerIn: parent
    width: Math.min(520, parent ? parent.width - 40 : 520)
    height: Math.min(implicitHeight, parent ? parent.height - 40 : implicitHeight)
    modal: true
    focus: true
    visible: Shortcuts.sheetOpen
    closePolicy: Popup.CloseOnEscape | Popup.CloseOnPressOutside
    padding: 20
    onClosed: Shortcuts.sheetOpen = false
    background: Rectangle {
        radius: 12
        color: Theme.surface
        border.color: Theme.separator
    }
    Overlay.modal: Rectangle { color: Qt.rgba(0, 0, 0, 0.35) }

    ColumnLayout {
        anchors.fill: parent
        spacing: 10
        Accessible.role: Accessible.Dialog
        Accessible.name: "Keyboard shortcuts"
        Heading {
            textStyle: "title3"
            text: "Keyboard shortcuts"
        }
        // A few rows, all made at once; they scroll where the window is short.
        Flickable {
            Layout.fillWidth: true
            Layout.fillHeight: true
            Layout.preferredHeight: rows.implicitHeight
            clip: true
            contentHeight: rows.implicitHeight
            interactive: contentHeight > height
            boundsBehavior: Flickable.StopAtBounds
            ScrollBar.vertical: ScrollBar {}
            Column {
                id: rows
                objectName: "shortcutList"
                width: parent.width
                property alias count: rowRepeater.count
                Accessible.role: Accessible.List
                Accessible.name: "Keyboard shortcuts"
                Repeater {
                    id: rowRepeater
                    model: Shortcuts.entries
                    delegate: RowLayout {
                        id: shortcutRow
                        required property var modelData
                        width: parent ? parent.width : 0
                        height: implicitHeight + 8
                        spacing: 12
                        Accessible.role: Accessible.ListItem
                        Accessible.name: shortcutRow.modelData.description + ": "
                                         + shortcutRow.modelData.shown
                        Body {
                            Layout.fillWidth: true
                            text: shortcutRow.modelData.description
                            wrapMode: Text.WordWrap
                        }
                        Rectangle {
                            implicitWidth: keysText.implicitWidth + 12
                            implicitHeight: keysText.implicitHeight + 4
                            radius: 4
                            color: Theme.controlBackground
                            Body {
                                id: keysText
                                anchors.centerIn: parent
                                textStyle: "callout"
                                text: shortcutRow.modelData.shown
                            }
                        }
                    }
                }
            }
        }
        PrimaryButton {
            objectName: "shortcutsClose"
            Layout.alignment: Qt.AlignRight
            text: "Close"
            onClicked: sheet.close()
        }
    }
}
