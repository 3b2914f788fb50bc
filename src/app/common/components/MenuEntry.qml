import QtQuick
import QtQuick.Controls
import Kestovar

// One entry of a menu, its text shown as plain text (entries can name a
// snippet or an agent). An entry that shows a choice stays ticked while it
// is the choice, however often it is picked. Assistive technology's press
// picks it, as a click does.
MenuItem {
    id: entry
    // For an entry that shows a choice: whether it is the current one.
    property bool chosen: false
    checked: chosen
    contentItem: Body {
        leftPadding: entry.checkable && entry.indicator ? entry.indicator.width + entry.spacing : 0
        text: entry.text
        color: entry.enabled ? Theme.text : Theme.tertiaryText
        elide: Text.ElideRight
        verticalAlignment: Text.AlignVCenter
        Accessible.ignored: true
    }
    Accessible.name: text
    Accessible.onPressAction: entry.press()
    // A click unticks a checkable entry; what is chosen is what the binding says.
    onToggled: checked = Qt.binding(() => entry.chosen)

    // As a click: the entry is triggered, and its menu opens its submenu or closes.
    function press() {
        if (enabled)
            clicked()
    }
}
