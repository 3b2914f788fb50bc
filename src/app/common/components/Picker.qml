import QtQuick
import QtQuick.Controls
import Kestovar

// A drop-down choice among a list of labels, the view-model keeping what each
// index stands for; named for screen readers by what it chooses, its current
// choice reading as text, not as a field. Entries show as plain text (they can
// name an agent).
ComboBox {
    id: picker
    property string name
    font.pointSize: Theme.size("body")
    Accessible.name: name
    Accessible.description: displayText
    Accessible.onPressAction: popup.visible ? popup.close() : popup.open()
    contentItem: Body {
        leftPadding: 8
        rightPadding: picker.indicator.width + 4
        text: picker.displayText
        verticalAlignment: Text.AlignVCenter
        elide: Text.ElideRight
        Accessible.ignored: true
    }
    delegate: ItemDelegate {
        id: option
        required property int index
        required property string modelData
        readonly property string label: modelData
        width: ListView.view ? ListView.view.width : picker.width
        highlighted: picker.highlightedIndex === index
        text: label
        contentItem: Body {
            text: option.label
            elide: Text.ElideRight
            verticalAlignment: Text.AlignVCenter
            Accessible.ignored: true
        }
        Accessible.role: Accessible.ListItem
        Accessible.name: label
        Accessible.selected: picker.currentIndex === index
        Accessible.onPressAction: option.press()

        // As a click: the list chooses this entry and closes.
        function press() {
            clicked()
        }
    }
}
