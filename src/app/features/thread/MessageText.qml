import QtQuick
import Kestovar

// A message's text, selectable and copyable. A TextEdit is a text document of
// its own, several times the cost of a Text, and a thread opens with a
// screenful of messages: the text is drawn by a Text, and the TextEdit is made
// only while the pointer is over the text, the keyboard is in it, or part of
// it is selected. Both draw the same pixels at the same size, so nothing moves
// when one takes the other's place.
FocusScope {
    id: message
    objectName: "messageText"
    required property string text
    required property bool rich
    required property color ink
    // Wider than this, the text wraps.
    required property real widest
    required property string accessibleText
    signal linkActivated(string link)

    readonly property bool editing: editor.item !== null
    // Set by the editor: part of the text is selected (the editor stays for
    // it), the pointer is over a link.
    property bool holdsSelection: false
    property bool overLink: false
    width: shown.width
    height: shown.height
    activeFocusOnTab: true

    Text {
        id: shown
        objectName: "messageText"
        width: Math.min(implicitWidth, message.widest)
        visible: !message.editing
        text: message.text
        textFormat: message.rich ? Text.RichText : Text.PlainText
        wrapMode: Text.Wrap
        color: message.ink
        font.pointSize: Theme.size("body")
        Accessible.role: Accessible.StaticText
        Accessible.name: message.accessibleText
        onLinkActivated: (link) => message.linkActivated(link)
    }
    Loader {
        id: editor
        width: shown.width
        focus: true
        active: pointer.containsMouse || message.activeFocus || message.holdsSelection
        sourceComponent: TextEdit {
            id: edit
            objectName: "messageText"
            width: editor.width
            focus: true
            text: message.text
            textFormat: message.rich ? TextEdit.RichText : TextEdit.PlainText
            readOnly: true
            activeFocusOnTab: true
            selectByMouse: true
            wrapMode: TextEdit.Wrap
            color: message.ink
            selectionColor: Theme.brandLight
            font.pointSize: Theme.size("body")
            Accessible.role: Accessible.StaticText
            Accessible.name: message.accessibleText
            onLinkActivated: (link) => message.linkActivated(link)
            onSelectedTextChanged: message.holdsSelection = selectedText !== ""
            onHoveredLinkChanged: message.overLink = hoveredLink !== ""
            Component.onDestruction: {
                message.holdsSelection = false
                message.overLink = false
            }
            ReadOnlyTextKeys { target: edit }
        }
    }
    // What brings the editor for the pointer (a press always comes after the
    // pointer got there: Qt sends the move first), and the pointer's shape;
    // presses go on to the editor. A mouse area, not a hover handler: bubbles
    // come and go under a resting pointer, and Qt 6.4 keeps each hover handler
    // it met listed after it is gone.
    MouseArea {
        id: pointer
        anchors.fill: parent
        hoverEnabled: true
        acceptedButtons: Qt.NoButton
        cursorShape: message.overLink ? Qt.PointingHandCursor : Qt.IBeamCursor
    }
}
