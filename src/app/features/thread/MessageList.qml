import QtQuick
import QtQuick.Controls
import Kestovar

// The messages, oldest at the top. The list follows new messages while the
// operator is at the bottom; scrolled up, a pill says that more arrived.
//
// It is laid out from the bottom up over the messages newest first: a thread
// opens at its newest message, and only the bubbles on screen are made (laid
// out from the top, the top screenful would be made first and thrown away).
Item {
    id: messages
    property ThreadController controller
    // The part of a short thread's list above the pane neither shows nor takes the pointer.
    clip: true

    ListView {
        id: list
        objectName: "messageList"
        width: parent.width
        height: parent.height
        // Laid out from the bottom, a short thread would sit at the foot of the
        // pane: lifted by the room it leaves, it starts at the top, as read.
        // (The list's height stays the pane's: a height that followed the
        // content would make and measure rows in a loop.)
        y: -Math.max(0, height - contentHeight)
        clip: true
        verticalLayoutDirection: ListView.BottomToTop
        // Room below the newest and above the oldest message (as header and footer,
        // which positioning takes into account, unlike margins).
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
        // At the bottom, a new message shows there by itself (it is the list's
        // first row, and the view stays at its beginning); bubbles that settle
        // their height grow upwards. Scrolled up, the view stays put.
        onCountChanged: {
            if (!following && count > 0)
                newArrived = true
        }
        // A pane that gets shorter (a reply of several lines, a wider text size)
        // keeps the newest message in view.
        onHeightChanged: if (following) positionViewAtBeginning()
        // A new text size: the bubbles are made again (text edits do not resize
        // themselves to a new font once laid out).
        Connections {
            target: Theme
            function onFontScaleChanged() {
                const keep = list.following
                list.model = null
                list.model = Qt.binding(() => messages.controller ? messages.controller.messages : null)
                if (keep)
                    list.positionViewAtBeginning()
            }
        }
        Connections {
            target: messages.controller
            function onConversationIDChanged() {
                list.following = true
                list.newArrived = false
            }
        }
    }
    // Tab and a screen reader go through the bubbles from the top down.
    ReadingOrder { view: list }
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
            list.positionViewAtBeginning()
        }
    }
}
