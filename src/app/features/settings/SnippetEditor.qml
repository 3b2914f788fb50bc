import QtQuick
import QtQuick.Controls
import QtQuick.Layouts
import Kestovar

// A new or an existing snippet: title, emoji, shortcut and body. A save the
// service refuses keeps everything typed here and says why.
Popup {
    id: dialog
    objectName: "snippetEditor"
    required property var form
    parent: Overlay.overlay
    anchors.centerIn: parent
    width: Math.min(480, parent ? parent.width - 40 : 480)
    modal: true
    focus: true
    visible: form.open
    closePolicy: Popup.CloseOnEscape
    padding: 20
    onClosed: if (form.open) form.cancel()
    onOpened: titleField.forceActiveFocus()
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
        Accessible.name: dialog.form.heading
        Heading {
            textStyle: "title3"
            text: dialog.form.heading
        }
        TextField {
            id: titleField
            objectName: "snippetTitleField"
            font.pointSize: Theme.size("body")
            Layout.fillWidth: true
            placeholderText: "Title"
            text: dialog.form.title
            Accessible.name: "Title"
            onTextEdited: dialog.form.title = text
            onAccepted: dialog.form.save()
        }
        RowLayout {
            spacing: 8
            TextField {
                objectName: "snippetEmojiField"
                font.pointSize: Theme.size("body")
                Layout.preferredWidth: 56
                placeholderText: "💬"
                text: dialog.form.emoji
                horizontalAlignment: TextInput.AlignHCenter
                Accessible.name: "Emoji"
                onTextEdited: dialog.form.emoji = text
                onAccepted: dialog.form.save()
            }
            TextField {
                objectName: "snippetShortcutField"
                font.pointSize: Theme.size("body")
                Layout.preferredWidth: 220
                placeholderText: "shortcut (e.g. booking)"
                text: dialog.form.shortcut
                Accessible.name: "Shortcut"
                onTextEdited: dialog.form.shortcut = text
                onAccepted: dialog.form.save()
            }
        }
        ScrollView {
            Layout.fillWidth: true
            Layout.preferredHeight: Math.max(130, bodyField.implicitHeight)
            Layout.maximumHeight: 240
            TextArea {
                id: bodyField
                objectName: "snippetBodyField"
                placeholderText: "Reply text"
                textFormat: TextEdit.PlainText
                font.pointSize: Theme.size("body")
                background: Rectangle {
                    color: Theme.textBackground
                    border.color: bodyField.activeFocus ? Theme.brandAccent : Theme.separator
                    radius: 6
                }
                text: dialog.form.body
                wrapMode: TextEdit.Wrap
                Accessible.name: "Reply text"
                onTextChanged: if (text !== dialog.form.body) dialog.form.body = text
            }
        }
        Body {
            objectName: "snippetSaveError"
            textStyle: "callout"
            Layout.fillWidth: true
            visible: text.length > 0
            text: dialog.form.error
            wrapMode: Text.Wrap
            color: Theme.danger
            Accessible.role: Accessible.AlertMessage
        }
        RowLayout {
            Layout.fillWidth: true
            spacing: 8
            Item { Layout.fillWidth: true }
            ActionButton {
                objectName: "snippetCancel"
                text: "Cancel"
                onClicked: dialog.form.cancel()
            }
            PrimaryButton {
                objectName: "snippetSave"
                text: dialog.form.saveLabel
                enabled: dialog.form.canSave
                onClicked: dialog.form.save()
            }
        }
    }
}
