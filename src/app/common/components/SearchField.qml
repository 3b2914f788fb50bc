import QtQuick
import QtQuick.Controls
import QtQuick.Layouts
import Kestovar

// A magnifying glass and a plain text field. With text in it, Escape clears
// it (and says so through textEdited); without, Escape goes on to the window.
Rectangle {
    id: search
    property alias text: field.text
    property string placeholder
    signal textEdited(string text)

    function focusField() {
        field.forceActiveFocus()
        field.selectAll()
    }

    implicitHeight: field.implicitHeight + 4
    radius: 6
    color: Theme.controlBackground

    RowLayout {
        anchors.fill: parent
        anchors.leftMargin: 8
        anchors.rightMargin: 4
        spacing: 6
        Icon { symbol: "magnifyingglass"; color: Theme.secondaryText; size: 12 }
        TextField {
            id: field
            Layout.fillWidth: true
            placeholderText: search.placeholder
            background: null
            leftPadding: 0
            color: Theme.text
            font.pointSize: Theme.size("body")
            Accessible.name: search.placeholder
            onTextEdited: search.textEdited(text)
            Keys.onEscapePressed: (event) => {
                if (text === "") {
                    event.accepted = false
                    return
                }
                clear()
                search.textEdited("")
            }
        }
    }
}
