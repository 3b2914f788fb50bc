import QtQuick
import QtQuick.Controls
import Kestovar

// A tooltip over its parent, in plain text (Qt's shared tooltip reads its
// text as markup), made only while it shows.
Loader {
    id: tip
    property string text
    // Whether the pointer rests on the parent.
    property bool shown: false
    active: shown && text.length > 0
    sourceComponent: ToolTip {
        parent: tip.parent
        visible: true
        delay: 500
        text: tip.text
        contentItem: Body {
            text: tip.text
            textStyle: "callout"
            wrapMode: Text.Wrap
        }
    }
}
