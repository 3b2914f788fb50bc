import QtQuick
import QtQuick.Controls
import Kestovar

// The console's button: an optional symbol and a plain-text label. Assistive
// technology's press works as a click (Qt 6.4's Button reports such a press
// as done and does nothing), and a button that shows only a symbol is named
// by its tip.
Button {
    id: control
    property string symbol
    property color tone: Theme.text
    // Shown on hover; the button's name for screen readers when it shows no text.
    property string tip
    // False: only the symbol shows (the text still names the button).
    property bool showsText: true
    font.pointSize: Theme.size("callout")
    contentItem: IconLabel {
        symbol: control.symbol
        text: control.showsText ? control.text : ""
        tone: control.tone
        opacity: control.enabled ? 1 : 0.5
    }
    Accessible.name: text.length > 0 ? text : tip
    Accessible.onPressAction: control.press()

    // Also over a disabled button, which says why it cannot be used: a
    // disabled button has no hover of its own, so a hover handler stands in,
    // there only. Qt 6.4 keeps every hover handler a resting pointer has met
    // listed after the handler is gone, and buttons come and go with rows.
    HoverHandler {
        id: disabledHover
        enabled: !control.enabled && control.tip !== ""
    }
    HoverTip {
        shown: control.enabled ? control.hovered : disabledHover.enabled && disabledHover.hovered
        text: control.tip
    }

    // What a click does, for assistive technology and keyboard shortcuts alike.
    function press() {
        if (enabled && visible)
            clicked()
    }
}
