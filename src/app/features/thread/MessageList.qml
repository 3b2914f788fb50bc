import QtQuick
import QtQuick.Controls
import Kestovar

// The messages, oldest at the top. The list follows new messages while the
// operator is at the bottom; scrolled up, a pill says that more arrived.
Item {
    id: messages
    property ThreadController controller

    ListView {
        id: list
        objectName: "messageList"
        anchors.fill: parent
        clip: true
        // Room above the first and below the last message (as header and footer, which
        // positioning at the end takes into account, unlike margins).
        header: Item { height: 20 }
        footer: Item { height: 20 }
        spacing: 12
        model: messages.controller ? messages.controller.messages : null
        boundsBehavior: Flickable.StopAtBounds
        ScrollBar.vertical: ScrollBar {}
        Accessible.role: Accessible.List
        Accessible.name: "Messages"

        // Whether the view follows the newest message.
        property bool following: true
        property bool newArrived: false

        delegate: MessageBubble {
            width: ListView.view.width
            controller: messages.controller
            onTranslateRequested: (messageID, anchor) => {
                // A request while the menu shows (from a screen reader, which
                // does not close it first) opens it afresh at the new message.
                languages.active = false
                languages.messageID = messageID
                languages.anchor = anchor
                languages.active = true
            }
        }
        onMovementEnded: {
            following = atYEnd
            if (following)
                newArrived = false
        }
        // Bubbles settle their height after they are made: stay at the bottom meanwhile.
        onContentHeightChanged: if (following) toEnd.restart()
        onCountChanged: {
            if (following)
                toEnd.restart()
            else if (count > 0)
                newArrived = true
        }
        // To the end once the current changes have settled (on the next pass of the event loop).
        Timer {
            id: toEnd
            interval: 0
            onTriggered: list.positionViewAtEnd()
        }
        // A new text size: the bubbles are made again (text edits do not resize
        // themselves to a new font once laid out).
        Connections {
            target: Theme
            function onFontScaleChanged() {
                const keep = list.following
                list.model = null
                list.model = Qt.binding(() => messages.controller ? messages.controller.messages : null)
                if (keep)
                    toEnd.restart()
            }
        }
        Connections {
            target: messages.controller
            function onConversationIDChanged() {
                list.following = true
                list.newArrived = false
                toEnd.restart()
            }
        }
    }
    // One menu of target languages for every message, not one per bubble; made
    // each time it opens (its entries follow the open conversation), gone when
    // it closes.
    Loader {
        id: languages
        property string messageID
        property Item anchor
        active: false
        sourceComponent: Menu {
            objectName: "translateMenu"
            Component.onCompleted: {
                parent = languages.anchor
                y = languages.anchor.height
                open()
            }
            onClosed: languages.active = false
            Repeater {
                model: messages.controller ? messages.controller.translationEntries : []
                MenuEntry {
                    required property int index
                    required property string modelData
                    text: modelData
                    onTriggered: messages.controller.translate(languages.messageID, index)
                }
            }
        }
    }
    ActionButton {
        objectName: "newMessagesPill"
        anchors.horizontalCenter: parent.horizontalCenter
        anchors.bottom: parent.bottom
        anchors.bottomMargin: 12
        visible: list.newArrived && !list.following
        symbol: "arrow.down"
        text: "New messages"
        tone: "white"
        background: Rectangle { radius: height / 2; color: Theme.brand }
        onClicked: {
            list.following = true
            list.newArrived = false
            list.positionViewAtEnd()
        }
    }
}
