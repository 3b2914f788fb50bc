import QtQuick
import QtQuick.Controls
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
    implicitHeight: Math.max(avatar.height, column.height)

    Connections {
        target: Shortcuts
        enabled: bubble.activeFocus
        function onActivated(action) {
            if (action === "translateMessage")
                bubble.controller.translateFromKeyboard(bubble.messageID)
        }
    }

    // Placed with anchors and positioners (no layouts), and the parts that
    // seldom show (the shortened note, the translation toggle, "Translating…")
    // are made only when they show: a thread opens with a screenful of these.
    readonly property real rowWidth: width - 40
    Rectangle {
        id: avatar
        x: bubble.outgoing ? bubble.width - 20 - width : 20
        width: 26
        height: 26
        radius: 13
        color: bubble.bubbleStyle === MessageRows.VisitorBubble ? Qt.rgba(0.5, 0.5, 0.5, 0.18) : Theme.brandAt(0.18)
        Icon {
            anchors.centerIn: parent
            symbol: bubble.avatarSymbol
            color: bubble.bubbleStyle === MessageRows.VisitorBubble ? Theme.secondaryText : Theme.brandAccent
            size: 11
        }
    }
    Column {
        id: column
        // 13 between the avatar and the bubble, as the thread has always been spaced.
        x: bubble.outgoing ? 20 : 20 + 26 + 13
        width: bubble.rowWidth - 26 - 13
        spacing: 4
        Rectangle {
            id: body
            // At most 460 wide, and at least 60 free on the other side.
            readonly property real widest: Math.max(80, Math.min(460, bubble.rowWidth - 26 - 8 - 60))
            x: bubble.outgoing ? column.width - width : 0
            width: text.width + 24
            height: text.height + 16
            radius: 12
            color: bubble.fill
            border.width: text.activeFocus ? 2 : 0
            border.color: Theme.brandAccent
            MessageText {
                id: text
                x: 12
                y: 8
                widest: body.widest - 24
                text: bubble.shownText
                rich: bubble.rich
                ink: bubble.ink
                accessibleText: bubble.accessibleText
                onLinkActivated: (link) => bubble.controller.openLink(link)
            }
        }
        // Only the beginning of a very long message is laid out: say so, offer the whole.
        Loader {
            x: bubble.outgoing ? column.width - width : 0
            active: bubble.shortenedNote !== ""
            visible: active
            sourceComponent: Column {
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
        }
        Row {
            x: bubble.outgoing ? column.width - width : 0
            spacing: 8
            Body {
                textStyle: "caption"
                anchors.verticalCenter: parent.verticalCenter
                text: bubble.label + " · " + bubble.timeText
                color: Theme.tertiaryText
                Accessible.ignored: true
            }
            Loader {
                anchors.verticalCenter: parent.verticalCenter
                active: bubble.hasTranslation
                visible: active
                sourceComponent: InlineButton {
                    objectName: "translationToggle"
                    symbol: bubble.showingTranslation ? "arrow.uturn.backward" : "translate"
                    text: bubble.toggleLabel
                    onClicked: bubble.controller.toggleTranslation(bubble.messageID)
                }
            }
            Loader {
                anchors.verticalCenter: parent.verticalCenter
                active: bubble.translatable && bubble.translating
                visible: active
                sourceComponent: Row {
                    spacing: 4
                    BusyIndicator { width: 14; height: 14; running: true }
                    Body {
                        textStyle: "caption"
                        text: "Translating…"
                        color: Theme.secondaryText
                    }
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
