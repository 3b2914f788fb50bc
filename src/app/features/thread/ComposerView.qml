import QtQuick
import QtQuick.Controls
import QtQuick.Layouts
import Kestovar

// The operator's reply: typed, or from a snippet ("/" or the menu), sent with
// or without resolving. A reply the service refused comes back with the reason.
Rectangle {
    id: view
    objectName: "composer"
    property alias drafts: composer.drafts
    implicitHeight: column.implicitHeight + 20
    color: Theme.surface
    // Shown after a take-over: ready to type.
    onVisibleChanged: if (visible && Shortcuts.sheetOpen === false) editor.focusAtEnd()

    Composer { id: composer; objectName: "composerModel" }
    // Ctrl+Return and Ctrl+Shift+Return, from the shortcut table.
    Connections {
        target: Shortcuts
        function onActivated(action) {
            if (!view.visible)
                return
            if (action === "send")
                composer.send(false)
            else if (action === "sendAndResolve")
                composer.send(true)
        }
    }

    ColumnLayout {
        id: column
        anchors.fill: parent
        anchors.margins: 10
        spacing: 8

        Banner {
            objectName: "replyFailure"
            Layout.fillWidth: true
            visible: composer.failure.length > 0
            symbol: "exclamationmark.bubble"
            tone: Theme.danger
            text: composer.failure
            ActionButton {
                objectName: "sendAgainButton"
                text: "Send again"
                onClicked: composer.sendAgain()
            }
        }
        SnippetPicker {
            Layout.fillWidth: true
            visible: composer.pickerVisible
            matchCount: composer.matchCount
            rows: composer.pickerRows
            onPicked: (row) => {
                composer.pick(row)
                editor.focusAtEnd()
            }
        }
        GridLayout {
            id: entry
            // In a narrow pane (beside the list and the context panel, or with
            // a larger text size) the buttons go under the reply: beside it
            // they would leave it a dozen letters a line.
            readonly property bool buttonsBeside: width >= 500 * Theme.fontScale
            Layout.fillWidth: true
            columns: buttonsBeside ? 3 : 2
            columnSpacing: 10
            rowSpacing: 6
            IconButton {
                objectName: "snippetMenuButton"
                Layout.row: 0
                Layout.column: 0
                Layout.alignment: Qt.AlignBottom
                symbol: "text.app"
                tip: "Insert a snippet (type / in the message)"
                onClicked: snippetMenu.active = true
                // Made each time it opens, gone when it closes: the snippets change
                // with every conversation opened in another agent's inbox, and most
                // conversations are answered without the menu.
                Loader {
                    id: snippetMenu
                    active: false
                    sourceComponent: Menu {
                        objectName: "snippetMenu"
                        parent: snippetMenu.parent
                        Component.onCompleted: popup()
                        onClosed: snippetMenu.active = false
                        Repeater {
                            model: composer.menuEntries
                            MenuEntry {
                                required property int index
                                required property string modelData
                                text: modelData
                                onTriggered: {
                                    composer.insertFromMenu(index)
                                    editor.focusAtEnd()
                                }
                            }
                        }
                    }
                }
            }
            ScrollView {
                Layout.row: 0
                Layout.column: 1
                Layout.fillWidth: true
                Layout.preferredWidth: 120 // grows into the room left; the placeholder may shorten
                Layout.minimumHeight: 56
                Layout.maximumHeight: 140
                Layout.preferredHeight: Math.min(140, Math.max(56, editor.implicitHeight))
                TextArea {
                    id: editor
                    objectName: "composerEditor"
                    text: composer.draft
                    placeholderText: UiTexts.composerPlaceholder
                    textFormat: TextEdit.PlainText
                    wrapMode: TextArea.Wrap
                    color: Theme.text
                    font.pointSize: Theme.size("body")
                    background: Rectangle {
                        radius: 8
                        color: Theme.textBackground
                        border.color: editor.activeFocus ? Theme.brandAccent : Theme.separator
                    }
                    Accessible.name: "Reply"
                    onTextChanged: if (text !== composer.draft) composer.draft = text
                    function focusAtEnd() {
                        forceActiveFocus()
                        cursorPosition = length
                    }
                    Keys.onPressed: (event) => {
                        if (event.key === Qt.Key_Tab && composer.pickerVisible) {
                            composer.pick(0)
                            focusAtEnd()
                            event.accepted = true
                        } else if (event.key === Qt.Key_Escape && composer.pickerVisible) {
                            composer.clearCommand()
                            focusAtEnd()
                            event.accepted = true
                        }
                    }
                }
            }
            GridLayout {
                objectName: "sendButtons"
                Layout.row: entry.buttonsBeside ? 0 : 1
                Layout.column: entry.buttonsBeside ? 2 : 1
                Layout.alignment: entry.buttonsBeside ? Qt.AlignBottom : Qt.AlignRight
                // Only the reply grows into the room left (a layout would grow too).
                Layout.fillWidth: false
                Layout.preferredWidth: entry.buttonsBeside ? 150 * Math.min(Theme.fontScale, 1.2) : -1
                columns: entry.buttonsBeside ? 1 : 2
                rowSpacing: 6
                columnSpacing: 8
                PrimaryButton {
                    objectName: "sendButton"
                    Layout.fillWidth: entry.buttonsBeside
                    enabled: composer.canSend
                    symbol: "paperplane.fill"
                    text: "Send"
                    onClicked: composer.send(false)
                }
                ActionButton {
                    objectName: "sendResolveButton"
                    Layout.fillWidth: entry.buttonsBeside
                    enabled: composer.canSend
                    symbol: "checkmark.circle"
                    text: "Send & resolve"
                    onClicked: composer.send(true)
                }
            }
        }
        RowLayout {
            Icon { symbol: "person.fill"; color: Theme.tertiaryText; size: 10 }
            Body {
                textStyle: "caption"
                text: "Replying as you"
                color: Theme.secondaryText
            }
            Body {
                textStyle: "caption"
                Layout.fillWidth: true
                horizontalAlignment: Text.AlignRight
                elide: Text.ElideRight
                text: UiTexts.composerHint
                color: Theme.tertiaryText
            }
        }
    }
}
