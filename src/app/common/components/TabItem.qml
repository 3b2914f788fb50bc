import QtQuick
import QtQuick.Controls
import Kestovar

// One tab of a tab bar: a symbol and a plain-text title. Assistive
// technology's press chooses it, as a click does.
TabButton {
    id: tab
    property string symbol
    contentItem: IconLabel {
        symbol: tab.symbol
        text: tab.text
        tone: tab.checked ? Theme.brandAccent : Theme.secondaryText
    }
    Accessible.role: Accessible.PageTab
    Accessible.name: text
    Accessible.selected: checked
    Accessible.onPressAction: tab.press()

    function press() {
        if (!enabled)
            return
        checked = true // the bar follows its checked tab
        clicked()
    }
}
