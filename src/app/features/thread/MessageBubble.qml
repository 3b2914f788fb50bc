import QtQuick
import QtQuick.Controls
import QtQuick.Layouts
import Kestovar

// One message: the visitor's on the leading side, the AI's, the operator's
// and the system's on the trailing side; selectable text, and its translation.
// A focus scope, so that the keyboard's translate reaches the message whose
// text or buttons have the focus.
FocusScope {
    id: bubble
    objectName: "bubble_" + messageID
    required property string messageID
    required property string label
    required property string timeText
    required property bool outgoing
    required property int bubbleStyle
    required property string avatarSymbol
    required property bool rich
    required property string shownText
    required property bool translatable
    required property bool hasTranslation
    required property string menuTitle
    required property string toggleLabel
    required property bool translating
    required property bool showingTranslation
    required property string accessibleText
    required property string shortenedNote
    property ThreadController controller
    // The language menu is the list's one menu, opened beside `anchor`.
    signal translateRequested(string messageID, Item anchor)

    readonly property bool onBrand: bubbleStyle === MessageRows.OperatorBubble
    readonly property color fill: onBrand ? Theme.brand
                                : bubbleStyle === MessageRows.AssistantBubble ? Theme.brandAt(0.12)
                                                                          : Theme.controlBackground
    readonly property color ink: onBrand ? "white" : Theme.text
    implicitHeight: column.implicitHeight

    Connections {
        target: Shortcuts
        enabled: bubble.activeFocus
        function onActivated(action) {
            if (action === "translateMessage")
                bubble.controller.translateFromKeyboard(bubble.messageID)
        }
    }

    RowLayout {
        id: column
        anchors.left: parent.left
        anchors.right: parent.right
        anchors.leftMargin: 20
        anchors.rightMargin: 20
        layoutDirection: bubble.outgoing ? Qt.RightToLeft : Qt.LeftToRight
        spacing: 8

        Rectangle {
            Layout.alignment: Qt.AlignTop
            implicitWidth: 26
            implicitHeight: 26
            radius: 13
            color: bubble.bubbleStyle === MessageRows.VisitorBubble ? Qt.rgba(0.5, 0.5, 0.5, 0.18) : Theme.brandAt(0.18)
            Icon {
                anchors.centerIn: parent
                symbol: bubble.avatarSymbol
                color: bubble.bubbleStyle === MessageRows.VisitorBubble ? Theme.secondaryText : Theme.brandAccent
                size: 11
            }
        }
        ColumnLayout {
            Layout.fillWidth: true
            spacing: 4
            Rectangle {
                id: body
                // At most 460 wide, and at least 60 free on the other side.
                readonly property real widest: Math.max(80, Math.min(460, column.width - 26 - 8 - 60))
                Layout.alignment: bubble.outgoing ? Qt.AlignRight : Qt.AlignLeft
                implicitWidth: text.width + 24
                implicitHeight: text.height + 16
                radius: 12
                color: bubble.fill
                border.width: text.activeFocus ? 2 : 0
                border.color: Theme.brandAccent
                TextEdit {
                    id: text
                    objectName: "messageText"
                    x: 12
                    y: 8
                    // The text's own width, wrapped once it reaches the widest bubble.
                    width: Math.min(implicitWidth, body.widest - 24)
                    text: bubble.shownText
                    textFormat: bubble.rich ? TextEdit.RichText : TextEdit.PlainText
                    readOnly: true
                    activeFocusOnTab: true
                    selectByMouse: true
                    wrapMode: TextEdit.Wrap
                    color: bubble.ink
                    selectionColor: Theme.brandLight
                    font.pointSize: Theme.size("body")
                    Accessible.role: Accessible.StaticText
                    Accessible.name: bubble.accessibleText
                    onLinkActivated: (link) => bubble.controller.openLink(link)
                    ReadOnlyTextKeys { target: text }
                    // Only the pointer's shape: presses go on to the text. A mouse area,
                    // not a hover handler: bubbles come and go under a resting pointer,
                    // and Qt 6.4 keeps each hover handler it met listed after it is gone.
                    MouseArea {
                        anchors.fill: parent
                        acceptedButtons: Qt.NoButton
                        cursorShape: text.hoveredLink ? Qt.PointingHandCursor : Qt.IBeamCursor
                    }
                }
            }
            // Only the beginning of a very long message is laid out: say so, offer the whole.
            Column {
                Layout.alignment: bubble.outgoing ? Qt.AlignRight : Qt.AlignLeft
                visible: bubble.shortenedNote !== ""
                spacing: 2
                Body {
                    textStyle: "caption"
                    width: Math.min(implicitWidth, body.widest)
                    text: bubble.shortenedNote
                    elide: Text.ElideRight
                    color: Theme.secondaryText
                    Accessible.name: bubble.shortenedNote
                }
                InlineButton {
                    objectName: "copyWholeMessage"
                    symbol: "doc.on.doc"
                    text: "Copy whole message"
                    onClicked: bubble.controller.copyMessage(bubble.messageID)
                }
            }
            // A positioner, not a layout: it places what shows as soon as it shows.
            Row {
                Layout.alignment: bubble.outgoing ? Qt.AlignRight : Qt.AlignLeft
                spacing: 8
                Body {
                    textStyle: "caption"
                    anchors.verticalCenter: parent.verticalCenter
                    text: bubble.label + " · " + bubble.timeText
                    color: Theme.tertiaryText
                    Accessible.ignored: true
                }
                InlineButton {
                    anchors.verticalCenter: parent.verticalCenter
                    objectName: "translationToggle"
                    visible: bubble.hasTranslation
                    symbol: bubble.showingTranslation ? "arrow.uturn.backward" : "translate"
                    text: bubble.toggleLabel
                    onClicked: bubble.controller.toggleTranslation(bubble.messageID)
                }
                Row {
                    anchors.verticalCenter: parent.verticalCenter
                    visible: bubble.translatable && bubble.translating
                    spacing: 4
                    BusyIndicator { width: 14; height: 14; running: parent.visible }
                    Body {
                        textStyle: "caption"
                        text: "Translating…"
                        color: Theme.secondaryText
                    }
                }
                InlineButton {
                    id: translateButton
                    anchors.verticalCenter: parent.verticalCenter
                    objectName: "translateMenuButton"
                    visible: bubble.translatable && !bubble.translating
                    symbol: "translate"
                    trailingSymbol: "chevron.down"
                    text: bubble.menuTitle
                    tone: Theme.secondaryText
                    onClicked: bubble.translateRequested(bubble.messageID, translateButton)
                }
            }
        }
    }
}
