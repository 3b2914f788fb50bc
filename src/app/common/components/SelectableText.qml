import QtQuick
import Kestovar

// Plain text the operator can select and copy (a suggested reply, a page address).
TextEdit {
    id: selectable
    property string textStyle: "body"
    textFormat: TextEdit.PlainText
    readOnly: true
    selectByMouse: true
    wrapMode: TextEdit.Wrap
    color: Theme.text
    selectionColor: Theme.brandLight
    font.pointSize: Theme.size(textStyle)
    Accessible.role: Accessible.StaticText
    Accessible.name: text
    ReadOnlyTextKeys { target: selectable }
}
